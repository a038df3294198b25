#include "tools/replay/ShotCounting.h"

#include "capture/service/FrameReduction.h"
#include "platform/Rounding.h"

#include <QLineF>
#include <algorithm>

namespace replay {

namespace {
constexpr double AnalysisWidth = 160;
constexpr double AnalysisHeight = 120;
constexpr double TargetTwips = 6000;
} // namespace

QPointF analysisPoint(const Hit& hit, std::int32_t compareEvery) {
    const double step = compareEvery;
    const double cols = platform::nearest(AnalysisWidth / step);
    const double rows = platform::nearest(AnalysisHeight / step);
    const double twipsPerCell = TargetTwips / rows;
    // Cells count from the first sample; memory rows run bottom-up.
    const double column = (cols / 2 + hit.x / twipsPerCell) * step;
    const double memoryRow = (rows / 2 + hit.y / twipsPerCell) * step;
    return {column, AnalysisHeight - 1 - memoryRow};
}

double cameraScale(QSize cameraSize) {
    return capture::centreCrop43(cameraSize.width(), cameraSize.height()).width() / AnalysisWidth;
}

QPointF cameraPoint(QPointF analysis, QSize cameraSize) {
    const QRect crop = capture::centreCrop43(cameraSize.width(), cameraSize.height());
    return {crop.x() + (analysis.x() + 0.5) * crop.width() / AnalysisWidth,
            crop.y() + (analysis.y() + 0.5) * crop.height() / AnalysisHeight};
}

std::vector<TimedHit> gameShots(const std::vector<TimedHit>& hits) {
    std::vector<TimedHit> shots;
    for (const TimedHit& hit : hits) {
        if (shots.empty() || hit.seconds - shots.back().seconds >= ShotPauseSeconds)
            shots.push_back(hit);
    }
    return shots;
}

std::vector<TimedHit> detectorShots(const std::vector<TimedHit>& hits, double radius) {
    std::vector<TimedHit> shots;
    for (const TimedHit& hit : hits) {
        const bool repeat = std::any_of(shots.begin(), shots.end(), [&](const TimedHit& shot) {
            return hit.seconds - shot.seconds < ShotPauseSeconds &&
                   QLineF(hit.point, shot.point).length() <= radius;
        });
        if (!repeat)
            shots.push_back(hit);
    }
    return shots;
}

} // namespace replay
