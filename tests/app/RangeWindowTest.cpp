// The range window stands beside the main window once that is on the
// screen, never off the screen; closing it ends the program.

#include "app/RangeWindow.h"
#include "tests/app/AppFixture.h"

namespace apptest {
namespace {

TEST(RangePlacement, BesideTheMainWindowAndOnTheScreen) {
    struct Case {
        const char* name;
        QRect main, screen;
        QPoint expected;
    };
    const QSize size(490, 400);
    const Case cases[] = {
        {"room on the right", {100, 50, 660, 500}, {0, 0, 1280, 1024}, {770, 50}},
        {"room on the left only", {600, 50, 660, 500}, {0, 0, 1280, 1024}, {100, 50}},
        {"no room: the roomier side", {300, 50, 660, 500}, {0, 0, 1024, 768}, {0, 50}},
        {"low down: raised onto the screen", {100, 700, 660, 500}, {0, 0, 1280, 1024}, {770, 624}},
        {"a second screen", {1380, 100, 660, 500}, {1280, 0, 1280, 1024}, {2050, 100}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::RangeWindow::besidePosition(c.main, size, c.screen), c.expected) << c.name;
}

using RangeWindow = AppFixture;

TEST_F(RangeWindow, ShowsOnceTheMainWindowIsShownAndClosingItEndsTheProgram) {
    app::RangeWindow range(camera_);
    window().Form_Load();
    range.showBeside(window());
    QApplication::processEvents();
    EXPECT_FALSE(range.isVisible());
    window().show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return range.isVisible(); }, 5000));
    EXPECT_TRUE(range.screen()->availableGeometry().contains(range.frameGeometry()));
    range.close();
    EXPECT_TRUE(window().Ended() && endCount_ == 1);
}

} // namespace
} // namespace apptest
