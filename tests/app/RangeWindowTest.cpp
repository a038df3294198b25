// The simulated range: a click on the view fires a pulse that the program
// scores.

#include "app/RangeWindow.h"
#include "tests/app/AppFixture.h"

#include <QTest>

namespace apptest {
namespace {

using Range = AppFixture;

TEST_F(Range, ShowsTheCamerasView) {
    app::RangeWindow range(camera_);
    EXPECT_EQ(range.windowTitle(), QStringLiteral("Range"));
    EXPECT_EQ(range.size(), QSize(480, 360));
    const QImage picture = range.grab().toImage();
    // The paper target: the centre is lit, not black.
    EXPECT_GT(qGray(picture.pixel(300, 200)), 20);
}

TEST_F(Range, ClickFiresAShotThatIsScored) {
    start();
    app::RangeWindow range(camera_);
    range.show();
    window().Command1_Click();
    endPause();
    camera_.scene().dotRadius = 4.0;
    deliverFrames(2);
    // The middle of the cell 3.5 cells right of and above the grid centre:
    // pixel (98, 42) of the 160 x 120 picture, three times as large here.
    QTest::mouseClick(&range, Qt::LeftButton, {}, QPoint(98 * 3, 42 * 3));
    deliverFrames(4);
    ASSERT_EQ(window().ShotCount(), 1);
    EXPECT_EQ(window().ScoreCardText(), QStringLiteral("Shot  1 Result Is  6\r\n"));
}

} // namespace
} // namespace apptest
