#include "app/series/TimedDrill.h"

#include <QRandomGenerator>
#include <algorithm>
#include <cmath>

namespace app {
namespace {

QString withoutLineEnd(QString line) {
    if (line.endsWith(QStringLiteral("\r\n")))
        line.chop(2);
    return line;
}

double seconds(platform::ShotClock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

} // namespace

TimedDrill::TimedDrill(const DrillRules& rules, Random random)
    : rules_(rules.heldToRange()), random_(std::move(random)),
      series_({.shots = rules_.shots, .pause = rules_.pause()}) {
    if (!random_)
        random_ = [] { return QRandomGenerator::global()->generateDouble(); };
}

ShotSeries::Clock::time_point TimedDrill::seriesTime(Time time) {
    // The series measures its pause from the times it is told; the drill's
    // clock serves as well as the wall clock for that.
    return ShotSeries::Clock::time_point(
        std::chrono::duration_cast<ShotSeries::Clock::duration>(time.time_since_epoch()));
}

TimedDrill::Duration TimedDrill::chooseDelay() {
    if (!rules_.randomDelay())
        return rules_.delayFrom;
    const double fraction = std::clamp(random_(), 0.0, 1.0);
    const auto span = static_cast<double>((rules_.delayTo - rules_.delayFrom).count());
    return rules_.delayFrom + Duration(static_cast<Duration::rep>(std::floor(fraction * span)));
}

TimedDrill::StringStart TimedDrill::newGame() {
    cardLines_ = TimedDrill::CardLines; // the first string always starts a clean card
    return beginString(1);
}

TimedDrill::StringStart TimedDrill::beginString(std::int16_t number) {
    string_ = number;
    series_ = ShotSeries({.shots = rules_.shots, .pause = rules_.pause()});
    beep_.reset();
    parSounded_ = false;
    record_ = {};
    record_.drill = rules_.title();
    if (rules_.par)
        record_.par = seconds(*rules_.par);
    record_.string = number;
    StringStart start;
    start.string = number;
    // The string's lines and its summary below the lines there, or a clean card.
    start.freshCard = cardLines_ + rules_.shots + 1 > CardLines;
    if (start.freshCard) {
        cardLines_ = 0;
        cardShots_ = 0;
    }
    start.delay = chooseDelay();
    stage_ = Stage::Delay;
    return start;
}

bool TimedDrill::delayOver(Time now) {
    if (stage_ != Stage::Delay)
        return false;
    beep_ = now;
    series_.newGame(seriesTime(now));
    series_.pauseOver(); // the beep opens the string at once
    stage_ = Stage::Open;
    return true;
}

bool TimedDrill::parOver() {
    const bool shooting = stage_ == Stage::Open || stage_ == Stage::Pausing;
    if (!shooting || !rules_.par || parSounded_ || series_.shotCount() >= rules_.shots)
        return false;
    parSounded_ = true;
    return true;
}

TimedDrill::Outcome TimedDrill::hit(Time captured, std::int32_t x, std::int32_t y, double score) {
    switch (stage_) {
    case Stage::NotBegun:
    case Stage::Stopped:
        return platform::MissReason::BeforeNewGame;
    case Stage::Finished:
        return platform::MissReason::SeriesFinished;
    case Stage::Delay:
        return platform::MissReason::EarlyShot;
    case Stage::Open:
        // Shown after the beep by a frame captured before it: early all the same.
        if (captured < *beep_)
            return platform::MissReason::EarlyShot;
        break;
    case Stage::Pausing:
        break;
    }
    const ShotSeries::Outcome outcome = series_.hit(seriesTime(captured), x, y, score);
    if (const auto* reason = std::get_if<platform::MissReason>(&outcome))
        return *reason;
    const auto& counted = std::get<ShotSeries::Shot>(outcome);

    Shot shot;
    shot.number = counted.number;
    shot.result = counted.result;
    shot.time = seconds(captured - *beep_);
    shot.split = record_.times.empty() ? shot.time : shot.time - record_.times.back();
    shot.late = rules_.par && captured - *beep_ > *rules_.par;
    shot.marker = cardShots_ % record::Series::Shots;
    shot.line = withoutLineEnd(counted.line) + timeText(shot.split, shot.number > 1) +
                (shot.late ? QStringLiteral(" late") : QString()) + QStringLiteral("\r\n");
    ++cardShots_;
    ++cardLines_;
    record_.shots.push_back({counted.result, score, x, y});
    record_.times.push_back(shot.time);
    record_.total += counted.result;
    if (!counted.summary.isEmpty()) {
        shot.summary = withoutLineEnd(counted.summary) +
                       summaryAddition(record_.hits(), record_.elapsed(), record_.hitFactor()) +
                       QStringLiteral("\r\n");
        ++cardLines_;
        shot.finished = record_;
    }
    stage_ = Stage::Pausing;
    return shot;
}

TimedDrill::PauseEnd TimedDrill::pauseOver() {
    if (stage_ != Stage::Pausing)
        return {};
    const std::optional<Cue> cue = series_.pauseOver();
    PauseEnd end;
    if (cue != Cue::Finish) {
        stage_ = Stage::Open;
        // The spoken "Next" takes longer than the short pause it would end.
        if (!rules_.shortPause)
            end.cue = cue;
    } else if (string_ < rules_.strings) {
        end.next = beginString(static_cast<std::int16_t>(string_ + 1));
    } else {
        stage_ = Stage::Finished;
        end.cue = Cue::Finish;
    }
    return end;
}

void TimedDrill::stop() {
    stage_ = Stage::Stopped;
    beep_.reset();
}

TimedDrill::Duration TimedDrill::pauseLeft(Time now) const {
    return stage_ == Stage::Pausing ? series_.pauseLeft(seriesTime(now)) : Duration::zero();
}

QString TimedDrill::timeText(double seconds, bool split) {
    return (split ? QStringLiteral(" +") : QStringLiteral("  ")) +
           QString::number(seconds, 'f', 2) + QLatin1Char('s');
}

QString TimedDrill::summaryAddition(int hits, double elapsed, double hitFactor) {
    return QStringLiteral("  Hits %1  %2s  HF %3")
        .arg(hits)
        .arg(elapsed, 0, 'f', 2)
        .arg(hitFactor, 0, 'f', 2);
}

} // namespace app
