// The windows' pictures: the target's rings measured from its pixels, the
// background's panes behind the controls, and the pistol pictures.

#include "platform/ResourceReader.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

QImage Load(platform::Picture picture) {
    return platform::LoadResPicture(picture).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool IsDark(QRgb p) {
    return qGray(p) < 100;
}

struct DarkRun {
    double from;
    double to;
    double Middle() const { return (from + to) / 2; }
};

// The runs of dark pixels met when walking out from the target's centre at
// the given angle, as radii. The walk starts clear of the zone number in the
// centre disc and ends at the disc's edge, where the wood begins.
std::vector<DarkRun> DarkRunsAlong(const QImage& target, double degrees) {
    const double centre = 200.0;
    const double a = degrees * std::numbers::pi / 180.0;
    std::vector<DarkRun> runs;
    bool inRun = false;
    for (double r = 14.0; r <= 200.0; r += 0.1) {
        const int x = int(std::floor(centre + r * std::cos(a)));
        const int y = int(std::floor(centre - r * std::sin(a)));
        const bool dark = target.valid(x, y) && IsDark(target.pixel(x, y));
        if (dark && !inRun) {
            runs.push_back({r, r});
        }
        if (dark) {
            runs.back().to = r;
        }
        inRun = dark;
    }
    return runs;
}

class TargetRings : public ::testing::TestWithParam<double> {};

TEST_P(TargetRings, LieEveryTwentyPixelsFromTheCentre) {
    const QImage target = Load(platform::Picture::Target);
    ASSERT_EQ(target.size(), QSize(400, 400));
    const std::vector<DarkRun> runs = DarkRunsAlong(target, GetParam());
    ASSERT_EQ(runs.size(), 10u) << "at " << GetParam() << " degrees";
    for (int k = 1; k <= 9; ++k) {
        EXPECT_NEAR(runs[std::size_t(k - 1)].Middle(), 20.0 * k, 1.0) << "ring line " << k;
    }
    // The outermost line lies just inside radius 200, so that the disc
    // touches the picture's edges.
    EXPECT_NEAR(runs[9].to, 200.0, 1.0);
    EXPECT_NEAR(runs[9].Middle(), 200.0, 2.0);
}

// Directions between the axes, where the zone numbers stand.
INSTANTIATE_TEST_SUITE_P(PictureResources, TargetRings,
                         ::testing::Values(22.5, 45.0, 67.5, 112.5, 135.0, 157.5, 202.5, 225.0,
                                           247.5, 292.5, 315.0, 337.5));

TEST(TargetPicture, IsAWhiteDiscOnWoodTouchingTheEdges) {
    const QImage target = Load(platform::Picture::Target);
    // Inside each ring, half way between its lines, the disc is white.
    for (int k = 0; k < 10; ++k) {
        const double r = 20.0 * k + 10.0;
        const int x = int(200 + r * std::cos(std::numbers::pi / 5));
        const int y = int(200 + r * std::sin(std::numbers::pi / 5));
        EXPECT_GT(qGray(target.pixel(x, y)), 240) << "ring at radius " << r;
    }
    // The outer line reaches the middle of each edge.
    for (const QPoint edge : {QPoint(200, 0), QPoint(0, 200), QPoint(399, 200), QPoint(200, 399)}) {
        EXPECT_TRUE(IsDark(target.pixel(edge))) << edge.x() << "," << edge.y();
    }
    // The corners are wood: brown, redder than blue, not white.
    for (const QPoint corner : {QPoint(5, 5), QPoint(394, 5), QPoint(5, 394), QPoint(394, 394)}) {
        const QColor c = target.pixelColor(corner);
        EXPECT_LT(c.lightness(), 200);
        EXPECT_GT(c.red(), c.blue() + 20);
    }
}

struct Pane {
    const char* control;
    QRect pixels; // the control's place in the window
};

class BackgroundPane : public ::testing::TestWithParam<Pane> {};

TEST_P(BackgroundPane, IsRecessedBehindItsControl) {
    const QImage background = Load(platform::Picture::Background);
    ASSERT_EQ(background.size(), QSize(650, 459));
    const QRect r = GetParam().pixels;
    const QColor panel = background.pixelColor(r.left() - 12, r.center().y());
    const QColor inside = background.pixelColor(r.center());
    // The pane is darker than the panel around it, and its frame is sunken:
    // dark above it, light below it.
    EXPECT_LT(inside.lightness(), panel.lightness() - 30) << GetParam().control;
    const QColor above = background.pixelColor(r.center().x(), r.top() - 3);
    const QColor below = background.pixelColor(r.center().x(), r.bottom() + 3);
    EXPECT_LT(above.lightness(), below.lightness()) << GetParam().control;
    // The pane holds the whole control.
    for (const QPoint p : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()}) {
        EXPECT_LT(background.pixelColor(p).lightness(), panel.lightness() - 20)
            << GetParam().control << " at " << p.x() << "," << p.y();
    }
}

INSTANTIATE_TEST_SUITE_P(PictureResources, BackgroundPane,
                         ::testing::Values(Pane{"capture window", QRect(30, 28, 160, 120)},
                                           Pane{"Text1", QRect(28, 172, 163, 206)},
                                           Pane{"Command1", QRect(31, 402, 158, 26)},
                                           Pane{"Image1", QRect(219, 28, 400, 400)}));

TEST(PistolPictures, AboutPictureIsAGreyPistolOnWhite) {
    const QImage pistol = Load(platform::Picture::AboutPistol);
    ASSERT_EQ(pistol.size(), QSize(225, 132));
    EXPECT_EQ(pistol.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(pistol.pixel(223, 130), qRgb(255, 255, 255));
    int drawn = 0;
    for (int y = 0; y < pistol.height(); ++y) {
        for (int x = 0; x < pistol.width(); ++x) {
            const QColor c = pistol.pixelColor(x, y);
            drawn += c.lightness() < 200 ? 1 : 0;
            EXPECT_LT(std::abs(c.red() - c.blue()), 24) << "grey at " << x << "," << y;
        }
    }
    EXPECT_GT(drawn, 225 * 132 / 4);
}

TEST(PistolPictures, IconIsAGreyPistolOnClear) {
    const QImage icon = Load(platform::Picture::Icon);
    ASSERT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(31, 31)), 0);
    int opaque = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            opaque += qAlpha(icon.pixel(x, y)) > 128 ? 1 : 0;
        }
    }
    EXPECT_GT(opaque, 150);
}

} // namespace
