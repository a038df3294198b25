// The rules of a series on their own, on a clock the tests set: which hits
// count and why the others do not, the pauses and their cues, the score
// card's lines and the series handed to the history.

#include "app/series/ShotSeries.h"
#include "record/Series.h"

#include <QDateTime>
#include <QString>
#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <vector>

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace platform {
inline void PrintTo(MissReason reason, std::ostream* out) {
    *out << ShotTally::describe(reason).toStdString();
}
} // namespace platform

namespace app {
inline void PrintTo(Cue cue, std::ostream* out) {
    constexpr const char* names[] = {"Ready", "Next", "Finish"};
    *out << names[static_cast<int>(cue)];
}
} // namespace app

namespace {

using namespace std::chrono_literals;
using app::Cue;
using app::ShotSeries;
using platform::MissReason;
using Time = ShotSeries::Clock::time_point;

// An afternoon in spring, so that the series' date is known exactly.
const Time Start = std::chrono::sys_days{std::chrono::year{2024} / 5 / 1} + 15h;

// The shot a hit made, or a failure that names why it did not count.
const ShotSeries::Shot& counted(const ShotSeries::Outcome& outcome) {
    static const ShotSeries::Shot none;
    const auto* shot = std::get_if<ShotSeries::Shot>(&outcome);
    EXPECT_NE(shot, nullptr)
        << "turned away: "
        << platform::ShotTally::describe(std::get<MissReason>(outcome)).toStdString();
    return shot ? *shot : none;
}

std::optional<MissReason> reasonOf(const ShotSeries::Outcome& outcome) {
    if (const auto* reason = std::get_if<MissReason>(&outcome))
        return *reason;
    return std::nullopt;
}

// A series started at Start whose first pause has ended.
ShotSeries readySeries(app::SeriesRules rules = {}) {
    ShotSeries series(rules);
    series.newGame(Start);
    EXPECT_EQ(series.pauseOver(), Cue::Ready);
    return series;
}

TEST(ShotSeries, TenShotsFillTheCardEachPauseEndingWithItsCue) {
    ShotSeries series;
    EXPECT_FALSE(series.readyToShoot() || series.pausing());
    series.newGame(Start);
    EXPECT_EQ(series.pauseOver(), Cue::Ready);
    const double raw[] = {10.0, 9.0, 8.999, 5.2493, 0.0, -0.5, -1.0, -1.2, -3.2, -9.44};
    const std::int32_t results[] = {10, 10, 9, 6, 1, 0, 0, -1, -3, -9};
    QString card;
    std::vector<Cue> cues;
    for (int k = 0; k < 10; ++k) {
        SCOPED_TRACE(k);
        ASSERT_TRUE(series.readyToShoot());
        const ShotSeries::Shot shot = counted(series.hit(Start + k * 2s, 0, 0, raw[k]));
        EXPECT_EQ(shot.number, k + 1);
        EXPECT_EQ(shot.result, results[k]);
        EXPECT_EQ(shot.line,
                  QStringLiteral("Shot %1 Result Is %2\r\n").arg(k + 1, 2).arg(results[k], 2));
        EXPECT_EQ(shot.summary.isEmpty(), k < 9);
        EXPECT_EQ(shot.finished.has_value(), k == 9);
        EXPECT_EQ(series.shotCount(), k + 1);
        EXPECT_TRUE(!series.readyToShoot() && series.pausing());
        card += shot.line + shot.summary;
        const std::optional<Cue> cue = series.pauseOver();
        ASSERT_TRUE(cue);
        cues.push_back(*cue);
    }
    EXPECT_EQ(card, QStringLiteral("Shot  1 Result Is 10\r\n"
                                   "Shot  2 Result Is 10\r\n"
                                   "Shot  3 Result Is  9\r\n"
                                   "Shot  4 Result Is  6\r\n"
                                   "Shot  5 Result Is  1\r\n"
                                   "Shot  6 Result Is  0\r\n"
                                   "Shot  7 Result Is  0\r\n"
                                   "Shot  8 Result Is -1\r\n"
                                   "Shot  9 Result Is -3\r\n"
                                   "Shot 10 Result Is -9\r\n"
                                   "Summary  23 From 100\r\n"));
    EXPECT_EQ(series.totalScore(), 23);
    std::vector<Cue> expected(9, Cue::Next);
    expected.push_back(Cue::Finish);
    EXPECT_EQ(cues, expected);
    // Complete: ready, yet every hit is turned away until "New Game".
    EXPECT_TRUE(series.readyToShoot() && !series.pausing());
}

// The summary's total takes the field of three, a negative one with its
// minus sign before the digits.
TEST(ShotSeries, TheSummaryWritesTheTotalInAFieldOfThree) {
    const struct {
        double raw;
        const char* summary;
    } rows[] = {{10.0, "Summary 100 From 100\r\n"},
                {-0.5, "Summary   0 From 100\r\n"},
                {-1.2, "Summary -10 From 100\r\n"},
                {-8.5, "Summary -80 From 100\r\n"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.summary);
        ShotSeries series = readySeries();
        QString summary;
        for (int k = 0; k < 10; ++k) {
            summary = counted(series.hit(Start + 2s * (k + 1), 0, 0, row.raw)).summary;
            series.pauseOver();
        }
        EXPECT_EQ(summary, QString::fromLatin1(row.summary));
    }
}

// A turned-away hit says why and changes nothing: not the count, not the
// readiness, not the pause.
TEST(ShotSeries, HitsAreTurnedAwayWithTheirReason) {
    ShotSeries series;
    EXPECT_EQ(reasonOf(series.hit(Start, 0, 0, 10.0)), MissReason::BeforeNewGame);
    EXPECT_EQ(series.pauseOver(), std::nullopt); // no pause runs before "New Game"
    EXPECT_EQ(reasonOf(series.hit(Start, 0, 0, 10.0)), MissReason::BeforeNewGame);

    series.newGame(Start);
    EXPECT_EQ(reasonOf(series.hit(Start + 1s, 0, 0, 10.0)), MissReason::DuringPause);
    EXPECT_EQ(series.pauseLeft(Start + 1s), 500ms);
    EXPECT_EQ(series.pauseOver(), Cue::Ready);

    for (const double unscorable : {NAN, INFINITY, -INFINITY})
        EXPECT_EQ(reasonOf(series.hit(Start + 2s, 0, 0, unscorable)), MissReason::BeyondTarget);
    EXPECT_TRUE(series.readyToShoot() && !series.pausing());
    EXPECT_EQ(series.shotCount(), 0);

    counted(series.hit(Start + 2s, 0, 0, 10.0));
    EXPECT_EQ(reasonOf(series.hit(Start + 3s, 300, 0, 9.0)), MissReason::DuringPause);
    EXPECT_EQ(series.shotCount(), 1);
    EXPECT_EQ(series.pauseLeft(Start + 3s), 500ms); // the pause of the shot, not of the miss

    for (int k = 1; k < 10; ++k) {
        series.pauseOver();
        counted(series.hit(Start + 2s * (k + 1), 0, 0, 5.0));
    }
    // After the tenth: during its pause and after the last cue alike.
    EXPECT_EQ(reasonOf(series.hit(Start + 21s, 0, 0, 10.0)), MissReason::SeriesFinished);
    EXPECT_EQ(series.pauseOver(), Cue::Finish);
    for (const double raw : {10.0, std::nan("")})
        EXPECT_EQ(reasonOf(series.hit(Start + 23s, 0, 0, raw)), MissReason::SeriesFinished);
    EXPECT_EQ(series.shotCount(), 10);
    EXPECT_EQ(series.totalScore(), 10 + 9 * 6);
}

// "New Game" from any state: an empty series, and a pause that starts anew,
// which ends with "Ready" whatever was shot before it.
TEST(ShotSeries, NewGameStartsAfreshWithAPause) {
    ShotSeries series;
    series.newGame(Start);
    EXPECT_EQ(series.pauseLeft(Start), 1500ms);
    EXPECT_EQ(series.pauseLeft(Start + 250us), 1500ms); // a timer for it never ends it early
    series.newGame(Start + 1s);                         // during its own pause
    EXPECT_EQ(series.pauseLeft(Start + 2s), 500ms);
    EXPECT_EQ(series.pauseOver(), Cue::Ready);

    counted(series.hit(Start + 3s, 0, 0, 7.0));
    EXPECT_EQ(series.pauseOver(), Cue::Next);
    counted(series.hit(Start + 5s, 0, 0, 7.0));
    series.newGame(Start + 6s); // during the pause after a shot
    EXPECT_EQ(series.shotCount(), 0);
    EXPECT_EQ(series.totalScore(), 0);
    EXPECT_EQ(series.pauseLeft(Start + 6s), 1500ms);
    EXPECT_EQ(series.pauseOver(), Cue::Ready);

    series.newGame(Start + 8s); // while ready
    EXPECT_FALSE(series.readyToShoot());
    EXPECT_EQ(reasonOf(series.hit(Start + 8s, 0, 0, 10.0)), MissReason::DuringPause);
    // The timer is taken at its word, even when it fires a little early.
    EXPECT_EQ(series.pauseLeft(Start + 9400ms), 100ms);
    EXPECT_EQ(series.pauseOver(), Cue::Ready);
    EXPECT_EQ(series.pauseOver(), std::nullopt); // one cue a pause
    EXPECT_EQ(series.pauseLeft(Start + 9400ms), 0ms);
    const ShotSeries::Shot first = counted(series.hit(Start + 10s, 0, 0, 7.0));
    EXPECT_EQ(first.number, 1);
    EXPECT_EQ(first.line, QStringLiteral("Shot  1 Result Is  8\r\n"));
}

// The tenth shot hands over the series for the history: every shot where it
// hit, its raw score and ring, the total and the time of the last shot. A
// new series starts with none of the old one's shots.
TEST(ShotSeries, TheFinishedSeriesGoesToTheHistory) {
    ShotSeries series = readySeries();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        std::optional<record::Series> finished;
        Time last;
        for (int k = 0; k < 10; ++k) {
            last = Start + std::chrono::minutes(round) + 2s * (k + 1) + 250ms;
            const double raw = round == 0 ? 9.5 - k : 4.25;
            finished = counted(series.hit(last, 100 * k, -50 * k - round, raw)).finished;
            series.pauseOver();
        }
        ASSERT_TRUE(finished);
        for (int k = 0; k < 10; ++k) {
            const record::Shot& shot = finished->shots[static_cast<std::size_t>(k)];
            EXPECT_EQ(shot.x, 100 * k) << k;
            EXPECT_EQ(shot.y, -50 * k - round) << k;
            EXPECT_EQ(shot.score, round == 0 ? 9.5 - k : 4.25) << k;
            EXPECT_EQ(shot.result, round == 0 ? 10 - k : 5) << k;
        }
        EXPECT_EQ(finished->total, round == 0 ? 55 : 50);
        const QDateTime when = finished->time;
        EXPECT_EQ(when.timeSpec(), Qt::LocalTime);
        EXPECT_EQ(
            when.toMSecsSinceEpoch(),
            std::chrono::duration_cast<std::chrono::milliseconds>(last.time_since_epoch()).count());
        // As the history writes it, it reads back whole.
        QString problem;
        const std::optional<record::Series> read =
            record::parseSeries(record::formatSeries(*finished), problem);
        ASSERT_TRUE(read) << problem.toStdString();
        EXPECT_EQ(read->total, finished->total);
        series.newGame(last + 5s);
        series.pauseOver();
    }
}

// The length of a series and of its pause are the series' rules; rules out
// of range are held to it. A series shorter than the history's is scored,
// summed and cued alike but not handed over, since the history could not
// read it back.
TEST(ShotSeries, RulesSetTheNumberOfShotsAndThePause) {
    using Stage = ShotSeries::Stage;
    ShotSeries series({.shots = 3, .pause = 150ms});
    EXPECT_EQ(series.stage(), Stage::NotBegun);
    series.newGame(Start);
    EXPECT_EQ(series.stage(), Stage::Pausing);
    EXPECT_EQ(series.pauseLeft(Start + 100ms), 50ms);
    EXPECT_EQ(series.pauseOver(), Cue::Ready);
    QString card;
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(series.stage(), Stage::Ready) << k;
        const ShotSeries::Shot shot = counted(series.hit(Start + 1s * (k + 1), 0, 0, 8.0));
        EXPECT_FALSE(shot.finished);
        EXPECT_EQ(series.stage(), Stage::Pausing) << k; // the last shot's pause too
        EXPECT_EQ(series.pauseLeft(Start + 1s * (k + 1)), 150ms);
        card += shot.line + shot.summary;
        EXPECT_EQ(series.pauseOver(), k < 2 ? Cue::Next : Cue::Finish);
    }
    EXPECT_EQ(series.stage(), Stage::Complete);
    EXPECT_EQ(card, QStringLiteral("Shot  1 Result Is  9\r\nShot  2 Result Is  9\r\n"
                                   "Shot  3 Result Is  9\r\nSummary  27 From 30\r\n"));
    EXPECT_EQ(reasonOf(series.hit(Start + 5s, 0, 0, 8.0)), MissReason::SeriesFinished);

    const ShotSeries none({.shots = 0, .pause = -5ms});
    EXPECT_EQ(none.rules().shots, 1);
    EXPECT_EQ(none.rules().pause, 0ms);
    EXPECT_EQ(ShotSeries({.shots = 11}).rules().shots, record::Series::Shots);
    const ShotSeries standard;
    EXPECT_EQ(standard.rules().shots, 10);
    EXPECT_EQ(standard.rules().pause, 1500ms);
}

} // namespace
