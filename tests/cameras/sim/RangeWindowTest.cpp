// Where the range window stands beside the main window: never off the
// screen, and never over the main window's target picture where the screen
// can hold both; where it stood before, if that is still a good place.
// (Shown once the main window is, and closing it:
// tests/app/ShotRecordTest.cpp.)

#include "cameras/sim/RangeWindow.h"
#include "cameras/sim/SimulatedCamera.h"
#include "platform/ProgramEnd.h"
#include "platform/SeamGuard.h"
#include "platform/SettingsStore.h"
#include "platform/WindowPosition.h"
#include "tests/fixtures/ScratchHome.h"

#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using simcamera::RangeWindow;

const QSize View(RangeWindow::ViewWidth, RangeWindow::ViewHeight);

// The main window is 660 x 500 (frame included), the range's frame 10 x 40
// larger than its view of 480 x 360.
TEST(RangePlacement, BesideTheMainWindowAndOnTheScreen) {
    struct Case {
        const char* name;
        QPoint main;
        QRect screen;
        QPoint mainMovedTo, range;
    };
    const QRect wide(0, 0, 1280, 1024);
    const Case cases[] = {
        {"room on the right", {100, 50}, wide, {100, 50}, {770, 50}},
        {"room on the left only", {600, 50}, wide, {600, 50}, {100, 50}},
        {"centred: the main window moves over", {310, 50}, wide, {120, 50}, {790, 50}},
        {"low down: raised onto the screen", {100, 700}, wide, {100, 700}, {770, 624}},
        {"a second screen", {1380, 100}, wide.translated(1280, 0), {1380, 100}, {2050, 100}},
    };
    for (const Case& c : cases) {
        const auto [main, range, view] =
            RangeWindow::besideMain({c.main, QSize(660, 500)}, View, {10, 40}, c.screen);
        EXPECT_TRUE(main == c.mainMovedTo && range == c.range && view == View)
            << c.name << ": " << main.x() << ", " << range.x() << ", " << range.y();
    }
}

// On a screen too narrow for both at the view's size, the main window goes
// to the screen's edge and the view shrinks to the room beside it, keeping
// its shape: 1920 x 1080 at a text scale of 2 is a screen of 960 x 540
// (with a 24-pixel panel at the top), where the main window's frame is
// 654 x 510 (a frame 2 pixels wide with a 26-pixel title bar, a 23-pixel
// menu bar). The range then covers none of the main window, its target
// picture least of all.
TEST(RangePlacement, ShrinksBesideTheMainWindowOnANarrowScreen) {
    struct Case {
        const char* name;
        QPoint main;
        QRect screen;
        QPoint mainMovedTo, range;
        QSize view;
    };
    const QRect scaled(0, 24, 960, 516);
    const Case cases[] = {
        {"scale 2, main centred", {153, 30}, scaled, {0, 30}, {664, 30}, {292, 219}},
        {"scale 2, main right", {300, 30}, scaled, {306, 30}, {0, 30}, {292, 219}},
        {"scale 2, main above the panel", {153, 0}, scaled, {0, 0}, {664, 24}, {292, 219}},
        {"a 1024-wide screen", {100, 50}, {0, 0, 1024, 768}, {0, 50}, {664, 50}, {356, 267}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QSize frame(654, 510);
        const QSize decoration(4, 28);
        const auto [main, range, view] =
            RangeWindow::besideMain({c.main, frame}, View, decoration, c.screen);
        EXPECT_EQ(main, c.mainMovedTo);
        EXPECT_EQ(range, c.range);
        EXPECT_EQ(view, c.view);
        const QRect rangeFrame(range, view + decoration);
        const QRect mainFrame(main, frame);
        // The target picture: 219, 28 of the client, below frame and menu bar.
        const QRect target = QRect(219, 28, 400, 400).translated(main + QPoint(2, 26 + 23));
        EXPECT_TRUE(mainFrame.contains(target));
        EXPECT_FALSE(rangeFrame.intersects(mainFrame));
        EXPECT_TRUE(c.screen.contains(rangeFrame));
        EXPECT_EQ(view.height(), view.width() * 3 / 4);
    }
}

// Too narrow even for the smallest view: the roomier side at the view's
// size, on the screen, as before.
TEST(RangePlacement, TooNarrowForAnyViewTakesTheRoomierSide) {
    const auto [main, range, view] =
        RangeWindow::besideMain({{300, 50}, QSize(660, 500)}, View, {10, 40}, {0, 0, 800, 600});
    EXPECT_EQ(main, QPoint(300, 50));
    EXPECT_EQ(range, QPoint(0, 50));
    EXPECT_EQ(view, View);
}

// The range window stands where it stood at the end of the last run, when
// all of it is on the screen (800 x 800 offscreen, frames 2 pixels wide)
// and it covers none of the main window; otherwise beside the main window,
// as if nothing were stored.
TEST(RangePlacement, StoredPlaceOnlyWhereItFitsAndCoversNothing) {
    const struct {
        const char* stored;
        bool used;
    } cases[] = {
        {"300 200", true}, {"316 436", true},  {"317 236", false}, {"316 437", false},
        {"254 40", true},  {"253 40", false},  {"0 0", false},     {"-10 200", false},
        {"300 -1", false}, {"300,200", false}, {"a b", false},     {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        const fixtures::ScratchHome home;
        platform::writeSetting("Vantorel", "Window", "RangeWindow", c.stored);
        QWidget main;
        main.setFixedSize(200, 150);
        main.move(50, 40);
        simcamera::SimulatedCamera camera;
        RangeWindow range(camera);
        range.showBeside(main);
        main.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return range.isVisible(); }, 5000));
        const QRect mainFrame = main.frameGeometry();
        ASSERT_EQ(mainFrame, QRect(50, 40, 204, 154));
        EXPECT_FALSE(range.frameGeometry().intersects(mainFrame));
        EXPECT_EQ(range.size(), View);
        EXPECT_EQ(range.pos(), c.used ? *platform::readPositionText(c.stored)
                                      : QPoint(mainFrame.right() + 1 + 10, mainFrame.top()));
    }
}

// The place it ends in is kept for the next run.
TEST(RangePlacement, TheEndKeepsThePlace) {
    const fixtures::ScratchHome home;
    const platform::SeamGuard<platform::EndHandler> ending(platform::setEndHandler, [](int) {});
    QWidget main;
    main.setFixedSize(200, 150);
    simcamera::SimulatedCamera camera;
    RangeWindow range(camera);
    range.showBeside(main);
    main.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return range.isVisible(); }, 5000));
    range.move(290, 210);
    ASSERT_TRUE(QTest::qWaitFor([&] { return range.pos() == QPoint(290, 210); }, 5000));
    platform::endProgram();
    EXPECT_EQ(platform::readSetting("Vantorel", "Window", "RangeWindow", {}), "290 210");
}

} // namespace
