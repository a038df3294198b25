// Hit location and raw score: the centroid of the changed cells, its offset
// from the grid centre, and the report to the main window.

#include "detection/ChangeMap.h"
#include "detection/HitTarget.h"
#include "platform/Rounding.h"
#include "platform/ShotTally.h"

#include <cmath>

namespace MotionDetection {

namespace {
HitTarget* activeTarget = nullptr;
bool lastHitWentOut = false;
} // namespace

bool hitWentOut() {
    return lastHitWentOut;
}

void setHitWentOut(bool wentOut) {
    lastHitWentOut = wentOut;
}

void setHitTarget(HitTarget* target) {
    activeTarget = target;
}

HitTarget* hitTarget() {
    return activeTarget;
}

void LocateHit(const ChangeMap& map) {
    const double centreX = map.Cols / 2.0;
    const double centreY = map.Rows / 2.0;

    double sumX = 0.0;
    double sumY = 0.0;
    std::int32_t count = 0;
    // The extra column (index Cols) and row (index Rows) are left out.
    for (std::int32_t j = 0; j < map.Rows; ++j) {
        for (std::int32_t k = 0; k < map.Cols; ++k) {
            if (map.Filled && map.cell(k, j) == 1) {
                sumX += k;
                sumY += j;
                ++count;
            }
        }
    }
    if (count == 0) { // changed cells only in the extra column or row
        platform::shotTally().count(platform::MissReason::BeyondTarget);
        return;
    }

    HitOffset offset;
    offset.DX = sumX / count - centreX;
    offset.DY = sumY / count - centreY;
    offset.Distance = std::sqrt(offset.DX * offset.DX + offset.DY * offset.DY);
    ScoreHit(offset, map);
}

void ScoreHit(const HitOffset& offset, const ChangeMap& map) {
    const double halfCols = map.Cols / 2.0;
    const double halfRows = map.Rows / 2.0;
    const double reach = std::sqrt(halfCols * halfCols + halfRows * halfRows);
    if (!(reach > offset.Distance)) {
        platform::shotTally().count(platform::MissReason::BeyondTarget);
        return;
    }

    // Half the grid's height is the radius of score 0, on both axes.
    const double score = 10.0 - (offset.Distance * 10.0) / halfRows;
    if (activeTarget == nullptr)
        return;

    // One scale for both axes: the picture's height per grid row.
    const double height = static_cast<double>(activeTarget->TargetHeight());
    const double perRow = height / map.Rows;
    const std::int32_t y = platform::nearest(perRow * offset.DY);
    const std::int32_t x = platform::nearest(perRow * offset.DX);
    activeTarget->SetHole(x, y, score);
}

} // namespace MotionDetection
