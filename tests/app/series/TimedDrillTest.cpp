// The rules of a timed drill on a clock the tests set: the delay and its
// beep, early flashes, shot times from the frames' capture times, splits,
// the par time, the short pause, the strings of a drill and its end.

#include "app/series/TimedDrill.h"
#include "app/series/DrillRules.h"

#include <QString>
#include <chrono>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <vector>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

using namespace std::chrono_literals;
using app::Cue;
using app::DrillRules;
using app::TimedDrill;
using platform::MissReason;
using Time = TimedDrill::Time;

const Time Beep = Time{} + 1000h; // whenever the steady clock says

const TimedDrill::Shot& counted(const TimedDrill::Outcome& outcome) {
    static const TimedDrill::Shot none;
    const auto* shot = std::get_if<TimedDrill::Shot>(&outcome);
    EXPECT_NE(shot, nullptr)
        << "turned away: "
        << platform::ShotTally::describe(std::get<MissReason>(outcome)).toStdString();
    return shot ? *shot : none;
}

std::optional<MissReason> reasonOf(const TimedDrill::Outcome& outcome) {
    if (const auto* reason = std::get_if<MissReason>(&outcome))
        return *reason;
    return std::nullopt;
}

DrillRules fiveShots() {
    return {.name = {},
            .shots = 5,
            .strings = 1,
            .delayFrom = 3000ms,
            .delayTo = 3000ms,
            .par = 4000ms,
            .shortPause = true};
}

// A string of five: the delay, an early flash refused, the beep, five shots
// whose times come from their frames' capture times, the par beep, a late
// shot marked, the summary with hits, time and hit factor, and the string for
// the history.
TEST(TimedDrill, AStringOfFiveFromDelayToSummary) {
    TimedDrill drill(fiveShots());
    EXPECT_EQ(drill.stage(), TimedDrill::Stage::NotBegun);
    EXPECT_EQ(reasonOf(drill.hit(Beep - 5s, 0, 0, 9.0)), MissReason::BeforeNewGame);
    EXPECT_FALSE(drill.delayOver(Beep)); // no delay runs
    EXPECT_FALSE(drill.parOver());

    const TimedDrill::StringStart start = drill.newGame();
    EXPECT_EQ(start.string, 1);
    EXPECT_EQ(start.delay, 3000ms);
    EXPECT_TRUE(start.freshCard);
    EXPECT_EQ(drill.stage(), TimedDrill::Stage::Delay);
    EXPECT_EQ(reasonOf(drill.hit(Beep - 1s, 0, 0, 9.0)), MissReason::EarlyShot);
    EXPECT_FALSE(drill.parOver()); // before the beep

    EXPECT_TRUE(drill.delayOver(Beep));
    EXPECT_FALSE(drill.delayOver(Beep + 1s)); // one beep a string
    EXPECT_EQ(drill.stage(), TimedDrill::Stage::Open);
    // Analysed after the beep, captured before it: early all the same.
    EXPECT_EQ(reasonOf(drill.hit(Beep - 1ms, 0, 0, 9.0)), MissReason::EarlyShot);

    const double raw[] = {8.6, 9.2, 7.0, -0.5, 10.0};
    const Time captured[] = {Beep + 1420ms, Beep + 2100ms, Beep + 2750ms, Beep + 3400ms,
                             Beep + 4250ms};
    QString card;
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        if (k == 4) { // the par timer ends before the last shot
            EXPECT_TRUE(drill.parOver());
        }
        const TimedDrill::Shot shot = counted(drill.hit(captured[k], 0, 0, raw[k]));
        EXPECT_EQ(shot.number, k + 1);
        EXPECT_EQ(shot.marker, k);
        EXPECT_EQ(shot.late, k == 4);
        EXPECT_EQ(drill.stage(), TimedDrill::Stage::Pausing);
        EXPECT_EQ(reasonOf(drill.hit(captured[k] + 50ms, 0, 0, 9.0)),
                  k < 4 ? MissReason::DuringPause : MissReason::SeriesFinished);
        EXPECT_EQ(drill.pauseLeft(captured[k] + 50ms), 100ms);
        card += shot.line + shot.summary;
        EXPECT_EQ(shot.finished.has_value(), k == 4);
        if (shot.finished) {
            const record::TimedString& string = *shot.finished;
            EXPECT_EQ(string.drill, QStringLiteral("Timed Series"));
            EXPECT_EQ(string.par, 4.0);
            EXPECT_EQ(string.string, 1);
            ASSERT_EQ(string.shots.size(), 5U);
            EXPECT_EQ(string.shots[0].result, 9);
            EXPECT_EQ(string.shots[0].score, 8.6);
            const std::vector<double> times{1.42, 2.1, 2.75, 3.4, 4.25};
            for (std::size_t i = 0; i < times.size(); ++i)
                EXPECT_NEAR(string.times[i], times[i], 1e-9) << i;
            EXPECT_EQ(string.total, 9 + 10 + 8 + 0 + 10);
            EXPECT_EQ(string.hits(), 4);
        }
        const TimedDrill::PauseEnd end = drill.pauseOver();
        EXPECT_EQ(end.cue, k == 4 ? std::optional<Cue>(Cue::Finish) : std::nullopt);
        EXPECT_FALSE(end.next);
    }
    EXPECT_FALSE(drill.parOver()); // once a string, and not after it
    EXPECT_EQ(card, QStringLiteral("Shot  1 Result Is  9  1.42s\r\n"
                                   "Shot  2 Result Is 10 +0.68s\r\n"
                                   "Shot  3 Result Is  8 +0.65s\r\n"
                                   "Shot  4 Result Is  0 +0.65s\r\n"
                                   "Shot  5 Result Is 10 +0.85s late\r\n"
                                   "Summary  37 From 50  Hits 4  4.25s  HF 8.71\r\n"));
    EXPECT_EQ(drill.stage(), TimedDrill::Stage::Finished);
    EXPECT_EQ(reasonOf(drill.hit(Beep + 10s, 0, 0, 9.0)), MissReason::SeriesFinished);
    EXPECT_EQ(drill.pauseOver().cue, std::nullopt);

    // "New Game" starts it all again.
    drill.newGame();
    EXPECT_EQ(drill.stage(), TimedDrill::Stage::Delay);
    EXPECT_TRUE(drill.delayOver(Beep + 1h));
    EXPECT_EQ(counted(drill.hit(Beep + 1h + 900ms, 0, 0, 5.0)).line,
              QStringLiteral("Shot  1 Result Is  6  0.90s\r\n"));
}

// The delay: fixed when its ends are equal, else anywhere between them,
// never outside; and every rule held to its range.
TEST(TimedDrill, TheDelayIsFixedOrRandomBetweenItsEnds) {
    for (const double fraction : {0.0, 0.25, 0.5, 0.9999, 1.0, -3.0, 7.0}) {
        SCOPED_TRACE(fraction);
        DrillRules rules = fiveShots();
        rules.delayFrom = 2000ms;
        rules.delayTo = 6000ms;
        TimedDrill drill(rules, [fraction] { return fraction; });
        const auto delay = drill.newGame().delay;
        EXPECT_GE(delay, 2000ms);
        EXPECT_LE(delay, 6000ms);
        if (fraction == 0.25) {
            EXPECT_EQ(delay, 3000ms);
        }
    }
    // Many random starts: spread over the range, not one value.
    DrillRules rules = fiveShots();
    rules.delayFrom = 1000ms;
    rules.delayTo = 10000ms;
    TimedDrill drill(rules);
    std::chrono::milliseconds lowest = 10000ms;
    std::chrono::milliseconds highest = 1000ms;
    for (int k = 0; k < 200; ++k) {
        const auto delay = drill.newGame().delay;
        lowest = std::min(lowest, delay);
        highest = std::max(highest, delay);
    }
    EXPECT_GE(lowest, 1000ms);
    EXPECT_LE(highest, 10000ms);
    EXPECT_LT(lowest, highest);

    const DrillRules wild{.name = QStringLiteral("a, b\r\n"),
                          .shots = 40,
                          .strings = 0,
                          .delayFrom = 20s,
                          .delayTo = 0s,
                          .par = 10min,
                          .shortPause = false};
    const DrillRules held = wild.heldToRange();
    EXPECT_EQ(held.name, QStringLiteral("a b"));
    EXPECT_EQ(held.shots, 10);
    EXPECT_EQ(held.strings, 1);
    EXPECT_EQ(held.delayFrom, 1000ms);
    EXPECT_EQ(held.delayTo, 10000ms);
    EXPECT_EQ(held.par, 300000ms);
    EXPECT_EQ(TimedDrill(wild).rules(), held);
    DrillRules quick = fiveShots();
    quick.par = 1ms;
    EXPECT_EQ(quick.heldToRange().par, 500ms);
}

// The short pause lets two flashes 150 ms apart (five frames at 30 frames a
// second) count as two shots; the Standard pause turns the second away and
// ends with the spoken "Next".
TEST(TimedDrill, TheShortPauseCountsFastShots) {
    const auto frame = [](int n) { return Beep + std::chrono::microseconds(n * 1000000LL / 30); };
    TimedDrill fast(fiveShots());
    fast.newGame();
    fast.delayOver(Beep);
    counted(fast.hit(frame(30), 0, 0, 9.0));
    EXPECT_EQ(fast.pauseLeft(frame(30)), 150ms);
    EXPECT_EQ(fast.pauseOver().cue, std::nullopt); // no spoken cue between fast shots
    const TimedDrill::Shot second = counted(fast.hit(frame(35), 0, 0, 9.0));
    EXPECT_NEAR(second.split, 5.0 / 30.0, 1e-6);
    EXPECT_EQ(second.line, QStringLiteral("Shot  2 Result Is 10 +0.17s\r\n"));

    DrillRules slowRules = fiveShots();
    slowRules.shortPause = false;
    TimedDrill slow(slowRules);
    slow.newGame();
    slow.delayOver(Beep);
    counted(slow.hit(frame(30), 0, 0, 9.0));
    EXPECT_EQ(slow.pauseLeft(frame(35)), 1334ms); // rounded up: a timer never ends it early
    EXPECT_EQ(reasonOf(slow.hit(frame(35), 0, 0, 9.0)), MissReason::DuringPause);
    EXPECT_EQ(slow.pauseOver().cue, Cue::Next);
}

// A drill of several strings: each begins by itself after the last shot's
// pause, with its own delay and beep, its own par beep, on the same card
// while its lines fit and on a clean one when they would not; the last one
// ends with Finish. "Stop Drill" drops the string being shot.
TEST(TimedDrill, StringsFollowEachOtherAndStopEndsThem) {
    DrillRules rules = fiveShots();
    rules.shots = 1;
    rules.strings = 5;
    rules.par = 1500ms;
    TimedDrill draws(rules);
    TimedDrill::StringStart start = draws.newGame();
    std::vector<bool> fresh;
    std::vector<int> markers;
    Time beep = Beep;
    for (int k = 1; k <= 5; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(start.string, k);
        EXPECT_EQ(draws.string(), k);
        fresh.push_back(start.freshCard);
        EXPECT_EQ(reasonOf(draws.hit(beep - 10ms, 0, 0, 9.0)), MissReason::EarlyShot);
        EXPECT_TRUE(draws.delayOver(beep));
        EXPECT_TRUE(draws.parOver());
        const TimedDrill::Shot shot = counted(draws.hit(beep + 1600ms, 0, 0, 9.0));
        markers.push_back(shot.marker);
        EXPECT_TRUE(shot.late);
        ASSERT_TRUE(shot.finished);
        EXPECT_EQ(shot.finished->string, k);
        const TimedDrill::PauseEnd end = draws.pauseOver();
        if (k < 5) {
            ASSERT_TRUE(end.next);
            EXPECT_EQ(end.cue, std::nullopt);
            start = *end.next;
        } else {
            EXPECT_FALSE(end.next);
            EXPECT_EQ(end.cue, Cue::Finish);
        }
        beep += 10s;
    }
    // Two lines a string: all five fit on one card.
    EXPECT_EQ(fresh, (std::vector<bool>{true, false, false, false, false}));
    EXPECT_EQ(markers, (std::vector<int>{0, 1, 2, 3, 4}));

    rules.shots = 5;
    rules.strings = 3;
    TimedDrill fives(rules);
    EXPECT_TRUE(fives.newGame().freshCard);
    fives.delayOver(Beep);
    std::optional<TimedDrill::StringStart> next;
    for (int k = 0; k < 5; ++k) {
        counted(fives.hit(Beep + 1s * (k + 1), 0, 0, 9.0));
        next = fives.pauseOver().next;
    }
    ASSERT_TRUE(next);
    EXPECT_TRUE(next->freshCard); // six lines and six more do not fit
    fives.delayOver(Beep + 20s);
    EXPECT_EQ(counted(fives.hit(Beep + 21s, 0, 0, 9.0)).marker, 0);

    fives.stop();
    EXPECT_EQ(fives.stage(), TimedDrill::Stage::Stopped);
    EXPECT_EQ(reasonOf(fives.hit(Beep + 25s, 0, 0, 9.0)), MissReason::BeforeNewGame);
    EXPECT_FALSE(fives.parOver());
    EXPECT_FALSE(fives.delayOver(Beep + 26s));
    EXPECT_EQ(fives.newGame().string, 1);
}

// The presets: five shots each, as their names say.
TEST(TimedDrill, ThePresetsAreTheKnownDrills) {
    const std::vector<DrillRules> presets = app::drillPresets();
    ASSERT_EQ(presets.size(), 4U);
    const char* names[] = {"25 m precision 150 s", "25 m 20 s", "25 m 10 s",
                           "Draw and shoot 1.5 s par"};
    const std::chrono::milliseconds pars[] = {150s, 20s, 10s, 1500ms};
    for (std::size_t k = 0; k < presets.size(); ++k) {
        SCOPED_TRACE(names[k]);
        EXPECT_EQ(presets[k].name, QString::fromLatin1(names[k]));
        EXPECT_EQ(presets[k].shots * presets[k].strings, 5);
        EXPECT_EQ(presets[k].par, pars[k]);
        EXPECT_EQ(presets[k].heldToRange(), presets[k]);
        EXPECT_EQ(presets[k].title(), presets[k].name);
    }
    EXPECT_TRUE(presets[3].randomDelay());
    EXPECT_TRUE(presets[2].shortPause);
}

} // namespace
