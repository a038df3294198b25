#include "app/series/ShotSeries.h"

#include "app/series/NumberFormat.h"
#include "detection/MotionDetection.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>

namespace app {
namespace {

// The best ring a shot scores (MotionDetection::shotScore): the summary
// counts the total against this many for every shot.
constexpr std::int32_t BestResult = 10;

QString shotLine(std::int16_t number, std::int32_t result) {
    return QStringLiteral("Shot ") + formatNumber(number, 2) + QStringLiteral(" Result Is ") +
           formatNumber(result, 2) + QStringLiteral("\r\n");
}

QString summaryLine(std::int32_t total, std::int16_t shots) {
    return QStringLiteral("Summary ") + formatNumber(total, 3) + QStringLiteral(" From ") +
           QString::number(BestResult * shots) + QStringLiteral("\r\n");
}

QDateTime localTime(ShotSeries::Clock::time_point time) {
    const auto sinceEpoch =
        std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch());
    return QDateTime::fromMSecsSinceEpoch(sinceEpoch.count(), Qt::LocalTime);
}

} // namespace

ShotSeries::ShotSeries(SeriesRules rules) : rules_(rules) {
    rules_.shots = std::clamp<std::int16_t>(rules_.shots, 1, record::Series::Shots);
    rules_.pause = std::max(rules_.pause, std::chrono::milliseconds::zero());
}

void ShotSeries::newGame(Clock::time_point now) {
    ready_ = false;
    pauseEnds_ = now + rules_.pause;
    shotCount_ = 0;
    totalScore_ = 0;
    series_ = {};
}

ShotSeries::Outcome ShotSeries::hit(Clock::time_point now, std::int32_t x, std::int32_t y,
                                    double score) {
    if (shotCount_ >= rules_.shots)
        return platform::MissReason::SeriesFinished;
    if (!ready_)
        return pausing() ? platform::MissReason::DuringPause : platform::MissReason::BeforeNewGame;
    if (!std::isfinite(score)) // NaN or infinite: no place on the target
        return platform::MissReason::BeyondTarget;

    ready_ = false;
    pauseEnds_ = now + rules_.pause;
    Shot shot;
    shot.result = MotionDetection::shotScore(score);
    series_.shots[static_cast<std::size_t>(shotCount_)] = {shot.result, score, x, y};
    totalScore_ += shot.result;
    ++shotCount_;
    shot.number = shotCount_;
    shot.line = shotLine(shot.number, shot.result);
    if (shotCount_ == rules_.shots) {
        shot.summary = summaryLine(totalScore_, rules_.shots);
        // The history's lines hold a whole series of its length; a shorter
        // one it could not read back.
        if (rules_.shots == record::Series::Shots) {
            series_.time = localTime(now);
            series_.total = totalScore_;
            shot.finished = series_;
        }
    }
    return shot;
}

std::optional<Cue> ShotSeries::pauseOver() {
    if (!pausing())
        return std::nullopt;
    pauseEnds_.reset();
    ready_ = true;
    if (shotCount_ == 0)
        return Cue::Ready;
    return shotCount_ < rules_.shots ? Cue::Next : Cue::Finish;
}

ShotSeries::Stage ShotSeries::stage() const {
    if (pausing())
        return Stage::Pausing;
    if (shotCount_ >= rules_.shots)
        return Stage::Complete;
    return ready_ ? Stage::Ready : Stage::NotBegun;
}

std::chrono::milliseconds ShotSeries::pauseLeft(Clock::time_point now) const {
    if (!pauseEnds_)
        return std::chrono::milliseconds::zero();
    return std::max(std::chrono::ceil<std::chrono::milliseconds>(*pauseEnds_ - now),
                    std::chrono::milliseconds::zero());
}

} // namespace app
