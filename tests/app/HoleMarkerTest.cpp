// Hole markers show only on the target picture: a far miss still counts on
// the score card but leaves the controls around the target uncovered.

#include "app/HoleMarker.h"
#include "tests/app/AppFixture.h"

namespace apptest {
namespace {

using HoleMarkers = AppFixture;

TEST_F(HoleMarkers, MissesCountButShowOnlyOnTheTarget) {
    start();
    clickNewGame();
    endPause();
    // Over the score card; across the target's right edge (pixel column 619).
    window().SetHole(-4500, 0, -5.0);
    endPause();
    window().SetHole(3000, 0, 0.0);
    EXPECT_EQ(window().ScoreCardText(),
              QStringLiteral("Shot  1 Result Is -4\r\nShot  2 Result Is  1\r\n"));
    const QImage shown = window().centralWidget()->grab().toImage();
    EXPECT_TRUE(window().Shape2(0)->geometry().contains(119, 228));
    EXPECT_GT(qGray(shown.pixel(119, 228)), 50) << "the score card, uncovered";
    EXPECT_LT(qGray(shown.pixel(616, 228)), 20) << "the hole on the target";
    EXPECT_GT(qGray(shown.pixel(621, 228)), 50) << "the panel beside it";
}

} // namespace
} // namespace apptest
