// Where the range window stands beside the main window: never off the
// screen. (Shown once the main window is, and closing it:
// tests/app/ShotRecordTest.cpp.)

#include "cameras/sim/RangeWindow.h"

#include <gtest/gtest.h>

// The main window is 660 x 500 (frame included), the range 490 x 400.
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
        {"too narrow: the roomier side", {300, 50}, {0, 0, 1024, 768}, {300, 50}, {0, 50}},
        {"low down: raised onto the screen", {100, 700}, wide, {100, 700}, {770, 624}},
        {"a second screen", {1380, 100}, wide.translated(1280, 0), {1380, 100}, {2050, 100}},
    };
    for (const Case& c : cases) {
        const auto [main, range] =
            simcamera::RangeWindow::besideMain({c.main, QSize(660, 500)}, {490, 400}, c.screen);
        EXPECT_TRUE(main == c.mainMovedTo && range == c.range)
            << c.name << ": " << main.x() << ", " << range.x() << ", " << range.y();
    }
}
