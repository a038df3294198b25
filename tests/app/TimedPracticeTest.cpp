// Timed practice on the main window and the simulated range, on a shot clock
// the test sets (the range stamps its frames with it): the Drill menu, the
// Timed Series dialog and the drill it remembers, a five-shot string with a
// random start whose times come from the frames that showed the flashes, an
// early flash refused, the beeps, fast shots at the short pause, "Stop
// Drill", the way back to the Standard series, and the history.

#include "app/DrillSettings.h"
#include "app/ScoreCard.h"
#include "app/StateLamp.h"
#include "platform/SettingsStore.h"
#include "platform/ShotClock.h"
#include "platform/ShotTally.h"
#include "record/HistoryFile.h"
#include "tests/app/AppFixture.h"
#include "tests/fixtures/ModalDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontMetricsF>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSpinBox>
#include <chrono>

namespace apptest {
namespace {

using namespace std::chrono_literals;

constexpr auto FramePeriod = std::chrono::microseconds(33333); // 30 frames a second

class TimedPractice : public AppFixture {
protected:
    TimedPractice() { start(); }

    // One frame of the range, a frame period after the last.
    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            now_ += FramePeriod;
            camera_.deliverNextFrame();
        }
    }
    // A flash of `length` frames at an offset from the centre; the time of
    // its first frame.
    platform::ShotTime flash(QPointF offset, int length = 1) {
        frames(2); // a settled picture to compare with
        camera_.firePulseFromCentre(offset, length);
        frames(1);
        const platform::ShotTime shown = now_;
        frames(length + 1);
        return shown;
    }
    // Drill > Timed Series... with the dialog worked by `choose`, then OK.
    void chooseDrill(const std::function<void(QDialog&)>& choose) {
        fixtures::whenDialogOpens([choose](QDialog& dialog) {
            choose(dialog);
            dialog.findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok)->click();
        });
        action("timedSeries")->trigger();
    }
    app::ScoreCard* card() const { return window_->findChild<app::ScoreCard*>("Text1"); }
    QString lamp() const { return window().findChild<app::StateLamp*>("stateLamp")->caption(); }
    app::Vantorel& window() const { return *window_; }

    platform::ShotTime now_ = platform::ShotTime{} + 100h;
    const platform::SeamGuard<platform::ShotClockSource> clock_{platform::setShotClock,
                                                                [this] { return now_; }};
};

// The seconds a score card line shows after its result.
double shownTime(const QString& line) {
    static const QRegularExpression time(QStringLiteral(" \\+?(\\d+\\.\\d\\d)s"));
    const QRegularExpressionMatch match = time.match(line);
    EXPECT_TRUE(match.hasMatch()) << line.toStdString();
    return match.captured(1).toDouble();
}

double seconds(platform::ShotClock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

// A five-shot string with a random start on the range: the flash before the
// beep is refused, five timed lines and the summary follow, each time within
// a frame period of the flash's own frame, and the history keeps the times.
TEST_F(TimedPractice, AFiveShotStringWithARandomStart) {
    // The Drill menu stands after Options, the Standard series chosen.
    const QList<QAction*> menus = window().menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    EXPECT_EQ(menus[2]->text(), QStringLiteral("&Drill"));
    QStringList items;
    for (QAction* item : menus[2]->menu()->actions())
        if (!item->isSeparator())
            items << item->text();
    EXPECT_EQ(items, (QStringList{"Standard Series", "Timed Series...", "Stop Drill"}));
    EXPECT_TRUE(action("standardSeries")->isChecked());
    EXPECT_FALSE(action("stopDrill")->isEnabled());

    chooseDrill([](QDialog& dialog) {
        dialog.findChild<QComboBox*>("preset")->setCurrentIndex(0);
        dialog.findChild<QSpinBox*>("shots")->setValue(5);
        dialog.findChild<QSpinBox*>("strings")->setValue(1);
        dialog.findChild<QDoubleSpinBox*>("delayFrom")->setValue(2.0);
        dialog.findChild<QCheckBox*>("randomDelay")->setChecked(true);
        dialog.findChild<QDoubleSpinBox*>("delayTo")->setValue(4.0);
        dialog.findChild<QCheckBox*>("parOn")->setChecked(true);
        dialog.findChild<QDoubleSpinBox*>("par")->setValue(3.0);
        dialog.findChild<QComboBox*>("pause")->setCurrentIndex(1);
    });
    ASSERT_NE(window().timedDrill(), nullptr);
    EXPECT_TRUE(action("timedSeries")->isChecked());
    EXPECT_TRUE(action("stopDrill")->isEnabled());
    const QFont given = card()->font();

    frames(30);
    clickNewGame();
    const int delay = window().delayInterval();
    EXPECT_GE(delay, 2000);
    EXPECT_LE(delay, 4000);
    EXPECT_EQ(lamp(), QStringLiteral("Wait"));

    // A flash before the beep: early, not counted.
    platform::shotTally().reset();
    flash(QPointF(5, 5));
    EXPECT_TRUE(window().ScoreCardText().isEmpty());
    EXPECT_GE(platform::shotTally().countOf(platform::MissReason::EarlyShot), 1U);
    EXPECT_EQ(lamp(), QStringLiteral("Early"));

    now_ += std::chrono::milliseconds(delay);
    const platform::ShotTime beep = now_;
    window().delayTimer_Timer();
    EXPECT_EQ(effects_.back(), 4); // the start beep
    EXPECT_EQ(lamp(), QStringLiteral("Ready"));
    EXPECT_EQ(window().parInterval(), 3000);

    QStringList lines;
    std::vector<double> times;
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        frames(10 * k); // the shooter takes their time
        const platform::ShotTime fired = flash(QPointF(4.0 * k, -3.0 * k), 3);
        lines = window().ScoreCardText().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), k < 4 ? k + 1 : 6); // the last with the summary
        EXPECT_TRUE(lines[k].startsWith(QStringLiteral("Shot %1 Result Is ").arg(k + 1, 2)))
            << lines[k].toStdString();
        // The frame that showed it, to a frame period (and the line's rounding).
        const double time = seconds(fired - beep);
        const double shown = shownTime(lines[k]) + (times.empty() ? 0.0 : times.back());
        EXPECT_NEAR(shown, time, seconds(FramePeriod) + 0.011);
        times.push_back(time);
        EXPECT_EQ(window().Timer1Interval() > 0, true);
        EXPECT_LE(window().Timer1Interval(), 150);
        window().Timer1_Timer(); // the short pause ends
    }
    // Five timed lines and the summary.
    ASSERT_EQ(lines.size(), 6);
    const QString summary = lines[5];
    static const QRegularExpression summaryLine(
        QStringLiteral("^Summary +\\d+ From 50  Hits 5  (\\d+\\.\\d\\d)s  HF \\d+\\.\\d\\d$"));
    const QRegularExpressionMatch match = summaryLine.match(summary);
    ASSERT_TRUE(match.hasMatch()) << summary.toStdString();
    EXPECT_NEAR(match.captured(1).toDouble(), times.back(), seconds(FramePeriod) + 0.011);
    EXPECT_EQ(lamp(), QStringLiteral("Finished"));
    EXPECT_EQ(effects_.back(), 3); // Finish after the last pause
    // The longer lines in a smaller font, no smaller than 70 % of the given
    // one, so the shot lines show whole; the summary wraps.
    EXPECT_LT(card()->font().pointSizeF(), given.pointSizeF());
    EXPECT_GE(card()->font().pointSizeF(), 0.7 * given.pointSizeF() - 0.01);
    const QFontMetricsF shown(card()->font());
    EXPECT_LE(shown.horizontalAdvance(lines[0]), card()->contentsRect().width());
    // The last shot came after the par time of 3 s: marked.
    EXPECT_EQ(lines[4].endsWith(QStringLiteral(" late")), times[4] > 3.0 + 0.034);

    record::History history;
    QString error;
    ASSERT_TRUE(record::readHistory(record::historyPath(), history, error));
    EXPECT_TRUE(history.series.empty());
    ASSERT_EQ(history.strings.size(), 1U);
    const record::TimedString& kept = history.strings[0];
    EXPECT_EQ(kept.drill, QStringLiteral("Timed Series"));
    EXPECT_EQ(kept.par, 3.0);
    ASSERT_EQ(kept.times.size(), 5U);
    for (std::size_t k = 0; k < 5; ++k)
        EXPECT_NEAR(kept.times[k], times[k], seconds(FramePeriod) + 0.001) << k;
}

// The par beep at the par time; two flashes five frames apart (167 ms, the
// first frame after the 150 ms pause) count as two shots at the short pause; "Stop Drill" drops the
// string and hits do not count until "New Game"; Standard Series brings the ten-shot game back as
// it was.
TEST_F(TimedPractice, ParBeepFastShotsStopAndBackToStandard) {
    const QFont given = card()->font();
    chooseDrill([](QDialog& dialog) {
        auto* preset = dialog.findChild<QComboBox*>("preset");
        preset->setCurrentIndex(preset->findText(QStringLiteral("25 m 10 s")));
        emit preset->activated(preset->currentIndex());
    });
    ASSERT_NE(window().timedDrill(), nullptr);
    EXPECT_EQ(window().timedDrill()->rules().name, QStringLiteral("25 m 10 s"));
    frames(30);
    clickNewGame();
    EXPECT_EQ(window().delayInterval(), 7000);
    now_ += 7s;
    window().delayTimer_Timer();
    EXPECT_EQ(window().parInterval(), 10000);

    // The first flash, one frame long; its going is a change during the pause.
    frames(2);
    camera_.firePulseFromCentre(QPointF(0, 0), 1);
    frames(1);
    ASSERT_EQ(window().timedDrill()->stage(), app::TimedDrill::Stage::Pausing);
    EXPECT_EQ(window().Timer1Interval(), 150);
    frames(4);               // 133 ms
    window().Timer1_Timer(); // the 150 ms pause is over
    camera_.firePulseFromCentre(QPointF(5, 0), 1);
    frames(1); // the fifth frame after the first shot's: 167 ms
    const QStringList lines =
        window().ScoreCardText().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(" +0.17s"))) << lines[1].toStdString();

    // A trigger held for eight frames, longer than the short pause: the dot
    // going out is the end of that shot, not another.
    frames(4);
    window().Timer1_Timer();
    const std::uint64_t wentOut = platform::shotTally().countOf(platform::MissReason::DotWentOut);
    camera_.firePulseFromCentre(QPointF(-5, 0), 8);
    frames(1);
    window().Timer1_Timer();
    frames(9);
    EXPECT_EQ(window().ScoreCardText().count(QStringLiteral("\r\n")), 3);
    EXPECT_EQ(platform::shotTally().countOf(platform::MissReason::DotWentOut), wentOut + 1);

    window().parTimer_Timer();
    EXPECT_EQ(effects_.back(), 5); // the par beep

    window().stopDrill();
    EXPECT_EQ(lamp(), QStringLiteral("New Game?"));
    EXPECT_EQ(window().delayInterval(), 0);
    EXPECT_EQ(window().parInterval(), 0);
    window().Timer1_Timer();
    flash(QPointF(5, 5));
    EXPECT_EQ(window().ScoreCardText().count(QStringLiteral("\r\n")), 3);

    action("standardSeries")->trigger();
    EXPECT_EQ(window().timedDrill(), nullptr);
    EXPECT_FALSE(action("stopDrill")->isEnabled());
    EXPECT_TRUE(window().ScoreCardText().isEmpty());
    clickNewGame();
    endPause();
    window().SetHole(0, 0, 8.6);
    EXPECT_EQ(window().ScoreCardText(), QStringLiteral("Shot  1 Result Is  9\r\n"));
    EXPECT_EQ(card()->font(), given);
    // The Standard card's widest lines keep the font it was given.
    card()->SetText(QStringLiteral("Shot 10 Result Is 10\r\nSummary -90 From 100\r\n"));
    EXPECT_EQ(card()->font(), given);
}

// The dialog opens with the drill chosen last, kept with the settings; a
// preset changed becomes the shooter's own drill; Cancel changes nothing; a
// damaged stored value falls back to its default, the rest kept.
TEST_F(TimedPractice, TheDialogRemembersTheDrill) {
    chooseDrill([](QDialog& dialog) {
        auto* preset = dialog.findChild<QComboBox*>("preset");
        preset->setCurrentIndex(preset->findText(QStringLiteral("Draw and shoot 1.5 s par")));
        emit preset->activated(preset->currentIndex());
        EXPECT_EQ(dialog.findChild<QSpinBox*>("shots")->value(), 1);
        EXPECT_EQ(dialog.findChild<QSpinBox*>("strings")->value(), 5);
        EXPECT_TRUE(dialog.findChild<QCheckBox*>("randomDelay")->isChecked());
    });
    const app::DrillRules stored = app::loadDrillRules();
    EXPECT_EQ(stored.name, QStringLiteral("Draw and shoot 1.5 s par"));
    EXPECT_EQ(stored.par, 1500ms);

    QString seen;
    fixtures::whenDialogOpens([&seen](QDialog& dialog) {
        seen = dialog.findChild<QComboBox*>("preset")->currentText();
        dialog.findChild<QSpinBox*>("strings")->setValue(3); // no longer the preset
        EXPECT_EQ(dialog.findChild<QComboBox*>("preset")->currentText(), "Own choice");
        dialog.reject();
    });
    action("timedSeries")->trigger();
    EXPECT_EQ(seen, QStringLiteral("Draw and shoot 1.5 s par"));
    EXPECT_EQ(app::loadDrillRules(), stored);        // Cancel kept it
    EXPECT_TRUE(action("timedSeries")->isChecked()); // the drill chosen before still runs

    ASSERT_TRUE(platform::writeSetting("Vantorel", "Drill", "Strings", "five"));
    QStringList damaged;
    const app::DrillRules read = app::loadDrillRules(&damaged);
    EXPECT_EQ(damaged, QStringList{"Strings=five"});
    EXPECT_EQ(read.strings, 1);
    EXPECT_EQ(read.shots, 1);
    EXPECT_EQ(read.par, 1500ms);
    chooseDrill(
        [](QDialog& dialog) { EXPECT_EQ(dialog.findChild<QSpinBox*>("strings")->value(), 1); });
    EXPECT_EQ(app::loadDrillRules().strings, 1); // written whole again
}

} // namespace
} // namespace apptest
