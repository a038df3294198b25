#pragma once
// Hits as a shooter counts them, and where they lie in the camera's picture.
// The game takes a hit, then ignores everything for the pause after it; a
// detector reports every flash, a flash seen in several frames once.

#include "tools/replay/ReplaySession.h"

#include <QPointF>
#include <QSize>
#include <vector>

namespace replay {

// The pause after a counted shot, as the main window keeps it.
constexpr double ShotPauseSeconds = 1.5;

struct TimedHit {
    std::int64_t frame = 0;
    double seconds = 0; // from the first frame
    QPointF point;      // in the analysis picture: x right, y down, pixels
};

// Where a hit lies in the 160 x 120 analysis picture, for the step it was
// found with: the centroid of the changed samples.
QPointF analysisPoint(const Hit& hit, std::int32_t compareEvery);

// Camera pixels to an analysis pixel, for a camera picture of this size.
double cameraScale(QSize cameraSize);

// The same point in a camera picture of the given size, which the analysis
// saw centre-cropped to 4:3.
QPointF cameraPoint(QPointF analysis, QSize cameraSize);

// The hits the game scores: one, then none until the pause has passed.
std::vector<TimedHit> gameShots(const std::vector<TimedHit>& hits);

// The flashes a detector reports: a hit within the pause of an earlier one
// and within `radius` analysis pixels of it is the same flash.
std::vector<TimedHit> detectorShots(const std::vector<TimedHit>& hits, double radius);

} // namespace replay
