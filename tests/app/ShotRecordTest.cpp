// The series of ten shots: which hits count, where the markers go, what the
// score card says and which sounds play; shots from the simulated range; and
// what the program keeps of a series: the history line at its end, and the
// frames recorded around its hits, which the replay tool scores the same.

#include "app/FrameTap.h"
#include "app/HoleMarker.h"
#include "app/StateLamp.h"
#include "cameras/sim/RangeWindow.h"
#include "detection/EnhancedDetection.h"
#include "platform/SettingsStore.h"
#include "platform/ShotTally.h"
#include "record/FrameRecorder.h"
#include "record/HistoryFile.h"
#include "tests/app/AppFixture.h"
#include "tests/fixtures/ModalDialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>
#include <cmath>
#include <sys/stat.h>

namespace apptest {
namespace {

class ShotRecord : public AppFixture {
protected:
    ShotRecord() { start(); }
};

// Hits count only while the series is ready, with the right video format.
TEST_F(ShotRecord, HitsAreTurnedAwayUnlessTheSeriesIsReady) {
    window().SetHole(0, 0, 10.0); // before "New Game"
    clickNewGame();
    window().SetHole(0, 0, 10.0);          // during the pause
    const QRect preview(30, 28, 160, 120); // parked markers hide behind it
    for (int k = 0; k < app::Vantorel::Markers; ++k)
        EXPECT_TRUE(preview.contains(window().Shape2(k)->geometry())) << k;
    endPause();
    camera_.setFormat(0, 320, 240, 24); // the format is asked afresh for every hit
    window().SetHole(0, 0, 10.0);
    camera_.setFormat(0, 160, 120, 24);
    for (const double unscorable : {NAN, INFINITY, -INFINITY})
        window().SetHole(0, 0, unscorable);
    EXPECT_EQ(window().ShotCount(), 0);
    window().SetHole(0, 0, 10.0);
    window().SetHole(300, 0, 9.0); // during the pause after a shot
    EXPECT_EQ(window().ScoreCardText(), QStringLiteral("Shot  1 Result Is 10\r\n"));
    // "New Game" during the pause starts it anew, with a clean card.
    clickNewGame();
    EXPECT_TRUE(window().findChild<QPlainTextEdit*>("Text1")->toPlainText().isEmpty());
    endPause();
    // "New Game" while ready turns hits away until its pause ends, which
    // the re-arm timer does by itself.
    clickNewGame();
    window().SetHole(0, 0, 10.0);
    EXPECT_EQ(window().ShotCount(), 0);
    EXPECT_TRUE(QTest::qWaitFor([this] { return window().ReadyToShoot() == -1; }, 5000));
    EXPECT_EQ(effects_, (std::vector<int>{1, 0, 1, 1}));
}

// Options > Source tells why laser flashes did not count: before "New Game"
// (each flash reported as the dot appears and as it goes), and during the
// pause after the one shot that counted; "Reset" starts the tally afresh.
TEST_F(ShotRecord, TheSourceDialogTellsWhyFlashesDidNotCount) {
    platform::shotTally().reset();
    const auto flash = [this] {
        deliverFrames(2);
        camera_.firePulseFromCentre(QPointF(10, 10), 3);
        deliverFrames(4);
    };
    flash();
    clickNewGame();
    endPause();
    flash();
    flash();
    ASSERT_EQ(window().ShotCount(), 1);
    QStringList shown;
    const auto read = [&shown](QDialog& dialog) {
        for (const char* name : {"lastMiss", "missCounts"})
            if (const auto* label = dialog.findChild<QLabel*>(name))
                shown << label->text();
    };
    fixtures::whenDialogOpens([&](QDialog& dialog) {
        read(dialog);
        if (auto* reset = dialog.findChild<QPushButton*>("resetTally"))
            reset->click();
        read(dialog);
        dialog.reject();
    });
    action("src")->trigger();
    ASSERT_EQ(shown.size(), 4);
    const QString pause = QStringLiteral("During the pause (wait for \"Ready\" or \"Next\")");
    EXPECT_TRUE(shown[0].startsWith("Last: " + pause + ", ")) << shown[0].toStdString();
    for (const QString& line : QStringList{QStringLiteral("Before \"New Game\": 2"), pause + ": 3",
                                           "Beyond the target: 0"})
        EXPECT_TRUE(shown[1].contains(line))
            << line.toStdString() << " in " << shown[1].toStdString();
    EXPECT_TRUE(shown[1].startsWith("Shots counted: 1, the last ")) << shown[1].toStdString();
    EXPECT_EQ(shown[2], "No flash turned away yet");
    EXPECT_TRUE(shown[3].startsWith("Shots counted: 0\n") && shown[3].contains(pause + ": 0"))
        << shown[3].toStdString();
}

// The lamp under "New Game" says what the cues say, for a shooter who
// cannot hear them, without covering a designed control; Space is "New
// Game", F1 opens Help Topics, Alt and a menu's first letter open the menu,
// and Ctrl+Q ends the program.
TEST_F(ShotRecord, TheLampAndTheKeysFollowTheSeries) {
    const auto* lamp = window().findChild<app::StateLamp*>("stateLamp");
    ASSERT_NE(lamp, nullptr);
    for (const char* designed : {"Image1", "Text1", "Command1"})
        EXPECT_FALSE(
            lamp->geometry().intersects(window().findChild<QWidget*>(designed)->geometry()))
            << designed;
    EXPECT_TRUE(lamp->isVisible() && lamp->parentWidget()->rect().contains(lamp->geometry()));
    QStringList seen{lamp->caption()};
    QApplication::setActiveWindow(&window());
    auto* const newGame = window().findChild<QPushButton*>("Command1");
    ASSERT_EQ(QApplication::focusWidget(), newGame);
    QTest::keyClick(newGame, Qt::Key_Space);
    seen << lamp->caption();
    endPause();
    seen << lamp->caption();
    for (int k = 0; k < 10; ++k) {
        window().SetHole(0, 0, 9.5);
        seen << lamp->caption();
        endPause();
    }
    seen << lamp->caption();
    EXPECT_EQ(seen.mid(0, 4), (QStringList{"New Game?", "Wait", "Ready", "Wait"}));
    EXPECT_EQ(seen.last(), "Finished");
    EXPECT_EQ(window().ShotCount(), 10);

    QTest::keyClick(&window(), Qt::Key_F1);
    EXPECT_EQ(opened_, (std::vector<QString>{home_.dataFolder() + "/Vantorel-help/Overview.htm"}));
    auto* const options = window().findChild<QMenu*>("opt");
    QTest::keyClick(window().menuBar(), Qt::Key_O, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([options] { return options->isVisible(); }, 2000));
    options->close();
    QTest::keyClick(&window(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(window().Ended());
    EXPECT_EQ(endCount_, 1);
}

// Each shot scores floor(raw) + 1, at most 10; negative numbers carry one
// minus sign. Where the history cannot be written, the game goes on: the
// shooter is told once, in a message box with the reason (after the frame
// routine that made the hit has ended), and the terminal of every series
// lost. A FIFO in the history's place is no file: it is refused at once,
// never written into or waited on.
TEST_F(ShotRecord, SeriesListTheShotsAndTheSummaryEvenWithoutAHistory) {
    QFile(home_.dataFolder() + "/Vantorel").open(QIODevice::WriteOnly); // a file, not a folder
    const double raw[] = {10.0, 9.0, 8.999, 5.2493, 0.0, -0.5, -1.0, -1.2, -3.2, -9.44};
    const int scores[] = {10, 10, 9, 6, 1, 0, 0, -1, -3, -9}; // as written
    testing::internal::CaptureStderr();
    const auto series = [this, &raw] {
        clickNewGame();
        endPause();
        for (int k = 0; k < 10; ++k) {
            window().SetHole(1125, 875, raw[k]);
            endPause();
        }
    };
    series();
    QString expected;
    for (int k = 0; k < 10; ++k)
        expected += QStringLiteral("Shot %1 Result Is %2\r\n").arg(k + 1, 2).arg(scores[k], 2);
    EXPECT_EQ(window().ScoreCardText(), expected + QStringLiteral("Summary  23 From 100\r\n"));
    EXPECT_TRUE(messages_.shown().isEmpty()) << "not inside the frame routine";
    QCoreApplication::processEvents();
    series();
    QCoreApplication::processEvents();
    const QString err = QString::fromStdString(testing::internal::GetCapturedStderr());
    EXPECT_TRUE(err.count("vantorel: this series is not kept in the history") == 2)
        << err.toStdString();
    ASSERT_EQ(messages_.shown().size(), 1);
    EXPECT_EQ(messages_.shown()[0].text, "This series cannot be kept in the history: cannot "
                                         "create the folder " +
                                             home_.dataFolder() + "/Vantorel: Not a directory.");
}

// A FIFO in the history's place is no file: it is refused at once, never
// written into (the series would be lost) or waited on (once its buffer is
// full, the window would freeze at the tenth shot).
TEST_F(ShotRecord, AFifoForTheHistoryIsRefusedAndToldOnce) {
    const QString fifo = record::historyPath();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(fifo).path()));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    testing::internal::CaptureStderr();
    clickNewGame();
    endPause();
    for (int k = 0; k < 10; ++k) {
        window().SetHole(0, 0, 10.0);
        endPause();
    }
    QCoreApplication::processEvents();
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(messages_.shown().size(), 1);
    EXPECT_EQ(messages_.shown()[0].text, "This series cannot be kept in the history: cannot open " +
                                             fifo + ": not a regular file.");
    EXPECT_TRUE(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
}

// A full series fired with the simulated laser at one ring after another,
// from the camera through the frame analysis to the score card and the
// history, recorded around its hits.
TEST_F(ShotRecord, TenLaserShotsAtKnownRingsAreKeptAndReplayTheSame) {
    // {dx, dy} in steps of 5 pixels from the centre of the 160 x 120 picture
    // (the analysis at its defaults compares every pixel), dy upwards, for
    // rings 10 to 1.
    const std::pair<double, double> cells[] = {{0, 0},     {1.5, 1.5},   {1.5, -2.5}, {-2.5, -3.5},
                                               {3.5, 3.5}, {-4.5, -4.5}, {5.5, -5.5}, {-6.5, 6.5},
                                               {7.5, 7.5}, {-9.5, -6.5}};
    const QTemporaryDir frames;
    QString error;
    const auto recorder =
        record::FrameRecorder::start(frames.path(), record::FrameRecorder::Mode::AroundHits, error);
    ASSERT_TRUE(recorder);
    const platform::SeamGuard recording(app::setFrameRecorder, recorder.get());
    deliverFrames(40); // more than a second before the first shot
    clickNewGame();
    endPause();
    QString expected;
    for (int k = 0; k < 10; ++k) {
        SCOPED_TRACE(k);
        const auto [dx, dy] = cells[k];
        // A dot of radius 4, on the bull's eye the simulated camera's own
        // 7.5: each well below Maximal Laser Beam Diameter.
        camera_.scene().dotRadius = dx == 0.0 && dy == 0.0 ? 7.5 : 4.0;
        deliverFrames(2); // a settled picture to compare with
        camera_.firePulseFromCentre(QPointF(dx, dy) * 5.0, 3);
        deliverFrames(4);
        ASSERT_EQ(window().ShotCount(), k + 1);
        // 250 twips a step on the target picture, right and up as fired.
        EXPECT_EQ(window().Shape2(k)->Left(), static_cast<float>(6285 + 250 * dx - 75));
        EXPECT_EQ(window().Shape2(k)->Top(), static_cast<float>(3420 - 250 * dy - 75));
        expected += QStringLiteral("Shot %1 Result Is %2\r\n").arg(k + 1, 2).arg(10 - k, 2);
        endPause();
    }
    deliverFrames(40);
    EXPECT_EQ(window().ScoreCardText(), expected + QStringLiteral("Summary  55 From 100\r\n"));
    EXPECT_EQ(window().Shape2(0)->geometry(), QRect(414, 223, 10, 10)); // in pixels
    EXPECT_EQ(effects_,
              (std::vector<int>{1, 0, 2, 0, 2, 0, 2, 0, 2, 0, 2, 0, 2, 0, 2, 0, 2, 0, 2, 0, 3}));
    // After the last tick every hit is turned away until "New Game".
    EXPECT_EQ(window().ReadyToShoot(), -1);
    window().SetHole(0, 0, 10.0);
    EXPECT_EQ(window().ShotCount(), 10);

    record::History history;
    ASSERT_TRUE(record::readHistory(record::historyPath(), history, error));
    ASSERT_EQ(history.series.size(), 1U);
    const record::Series& series = history.series[0];
    EXPECT_EQ(series.total, 55);
    EXPECT_LT(std::abs(series.time.secsTo(QDateTime::currentDateTime())), 60);

    int status = 0;
    const QString out = run(QStringLiteral(VANTOREL_REPLAY_TOOL), {recorder->folder()}, status);
    ASSERT_EQ(status, 0) << out.toStdString();
    // The replay reports a dot both when it appears and when it goes; the
    // score card counts the first, the second comes during the pause. (The
    // recorder's second before and after each hit is its own test's.)
    QStringList hits; // each dot once: as it appears, not again as it goes
    static const QRegularExpression line("x=.+");
    for (auto match = line.globalMatch(out); match.hasNext();)
        if (const QString hit = match.next().captured(); !hits.contains(hit))
            hits << hit;
    // The history keeps each shot as scored: where, its raw score and ring.
    QStringList scored;
    for (const record::Shot& shot : series.shots)
        scored << QString::asprintf("x=%d y=%d score=%.4f ring=%d", shot.x, shot.y, shot.score,
                                    shot.result);
    EXPECT_EQ(hits, scored);
}

// Options > Enhanced Detection: ticked, the range's pulses score at the
// holes the standard analysis gives them (the simulated camera hands over
// its frame alone, which the enhanced detection reads instead); the choice
// is kept under its own key and ticked again at the next start.
TEST_F(ShotRecord, EnhancedDetectionScoresTheSameHolesAndIsKept) {
    QAction* const enhanced = action("enh");
    ASSERT_TRUE(enhanced != nullptr && enhanced->isCheckable() && !enhanced->isChecked());
    enhanced->trigger();
    EXPECT_TRUE(MotionDetection::enhancedDetection());
    EXPECT_EQ(platform::readSetting(QStringLiteral("Vantorel"), QStringLiteral("Settings"),
                                    QStringLiteral("EnhancedDetection"), QString()),
              " 1");
    deliverFrames(40); // the detection learns the scene
    clickNewGame();
    endPause();
    const std::pair<double, double> cells[] = {{1.5, 1.5}, {-4.5, 2.5}};
    for (int k = 0; k < 2; ++k) {
        const auto [dx, dy] = cells[k];
        camera_.scene().dotRadius = 4.0;
        deliverFrames(2);
        camera_.firePulseFromCentre(QPointF(dx, dy) * 5.0, 3);
        deliverFrames(4);
        ASSERT_EQ(window().ShotCount(), k + 1);
        // Within half a pixel of the picture (25 twips) of the standard hole.
        EXPECT_NEAR(window().Shape2(k)->Left(), 6285 + 250 * dx - 75, 25);
        EXPECT_NEAR(window().Shape2(k)->Top(), 3420 - 250 * dy - 75, 25);
        endPause();
    }
    window_ = std::make_unique<app::Vantorel>();
    start();
    EXPECT_TRUE(action("enh")->isChecked());
    action("enh")->trigger();
    EXPECT_FALSE(MotionDetection::enhancedDetection());
    EXPECT_EQ(platform::readSetting(QStringLiteral("Vantorel"), QStringLiteral("Settings"),
                                    QStringLiteral("EnhancedDetection"), QString()),
              " 0");
}

// The range window shows once the main window is on the screen, beside it,
// with the camera's view three times as large; a click fires a pulse there.
// Hole markers show only on the target picture: a far miss still counts on
// the score card but leaves the controls around the target uncovered.
// Closing the range closes the main window, which ends the program.
TEST_F(ShotRecord, RangeClicksAndFarMissesAreScoredAndMarkedOnTheTarget) {
    simcamera::RangeWindow range(camera_);
    window().hide();
    range.showBeside(window());
    QApplication::processEvents();
    EXPECT_FALSE(range.isVisible());
    window().show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return range.isVisible(); }, 5000));
    EXPECT_TRUE(range.screen()->availableGeometry().contains(range.frameGeometry()));
    EXPECT_GT(qGray(range.grab().toImage().pixel(300, 200)), 20); // the lit paper
    clickNewGame();
    endPause();
    camera_.scene().dotRadius = 4.0;
    deliverFrames(2);
    // The middle of the cell 3.5 cells right of and above the grid centre.
    QTest::mouseClick(&range, Qt::LeftButton, {}, QPoint(98 * 3, 42 * 3));
    deliverFrames(4);
    // The hole is right of and above the target's centre (419, 228), as fired.
    const QPoint hole = window().Shape2(0)->geometry().center();
    EXPECT_TRUE(hole.x() > 419 + 40 && hole.y() < 228 - 40) << hole.x() << ", " << hole.y();
    endPause();
    // Over the score card; across the target's right edge (pixel column 619).
    window().SetHole(-4500, 0, -5.0);
    endPause();
    window().SetHole(3000, 0, 0.0);
    EXPECT_EQ(window().ScoreCardText(), QStringLiteral("Shot  1 Result Is  6\r\nShot  2 Result "
                                                       "Is -4\r\nShot  3 Result Is  1\r\n"));
    const QImage shown = window().centralWidget()->grab().toImage();
    EXPECT_TRUE(window().Shape2(1)->geometry().contains(119, 228));
    EXPECT_GT(qGray(shown.pixel(119, 228)), 50) << "the score card, uncovered";
    EXPECT_LT(qGray(shown.pixel(616, 228)), 20) << "the hole on the target";
    EXPECT_GT(qGray(shown.pixel(621, 228)), 50) << "the panel beside it";
    range.close();
    EXPECT_TRUE(window().Ended() && endCount_ == 1);
}

} // namespace
} // namespace apptest
