// The windows' pictures: the target's rings measured from its pixels, the
// background's panes behind the controls, and the pistol pictures.

#include "platform/ResourceReader.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {
QImage load(platform::Picture picture) {
    return platform::LoadResPicture(picture).toImage().convertToFormat(QImage::Format_ARGB32);
}
bool isDark(QRgb p) {
    return qGray(p) < 100;
}

// The middles of the runs of dark pixels met when walking out from the
// target's centre at an angle, as radii, and where the last run ends. The
// walk starts clear of the zone number in the centre disc.
std::pair<std::vector<double>, double> ringLines(const QImage& target, double degrees) {
    const double a = degrees * std::numbers::pi / 180.0;
    std::vector<double> middles;
    double from = 0, to = 0;
    bool inRun = false;
    for (double r = 14.0; r <= 200.0; r += 0.1) {
        const int x = int(std::floor(200 + r * std::cos(a)));
        const int y = int(std::floor(200 - r * std::sin(a)));
        const bool dark = target.valid(x, y) && isDark(target.pixel(x, y));
        if (dark && !inRun)
            from = r;
        if (dark)
            to = r;
        if (!dark && inRun)
            middles.push_back((from + to) / 2);
        inRun = dark;
    }
    if (inRun)
        middles.push_back((from + to) / 2);
    return {middles, to};
}
} // namespace

// Ten ring lines every 20 pixels, the outermost just inside radius 200 so
// that the white disc touches the edges; seen between the axes, where the
// zone numbers stand.
TEST(TargetPicture, RingsLieEveryTwentyPixelsOnAWhiteDiscOnWood) {
    const QImage target = load(platform::Picture::Target);
    for (double degrees = 22.5; degrees < 360; degrees += 22.5) {
        if (std::fmod(degrees, 90) == 0)
            continue;
        SCOPED_TRACE(std::to_string(degrees) + " degrees");
        const auto [middles, end] = ringLines(target, degrees);
        ASSERT_EQ(middles.size(), 10u);
        for (int k = 1; k <= 10; ++k)
            EXPECT_NEAR(middles[k - 1], 20.0 * k, k < 10 ? 1.0 : 2.0) << "ring line " << k;
        EXPECT_NEAR(end, 200.0, 1.0);
    }
    for (int k = 0; k < 10; ++k) { // half way between the lines, the disc is white
        const double r = 20.0 * k + 10.0;
        EXPECT_GT(qGray(target.pixel(int(200 + r * std::cos(std::numbers::pi / 5)),
                                     int(200 + r * std::sin(std::numbers::pi / 5)))),
                  240)
            << "inside ring at radius " << r;
    }
    for (const QPoint edge : {QPoint(200, 0), QPoint(0, 200), QPoint(399, 200), QPoint(200, 399)})
        EXPECT_TRUE(isDark(target.pixel(edge))) << edge.x() << "," << edge.y();
    for (const QPoint corner : {QPoint(5, 5), QPoint(394, 5), QPoint(5, 394), QPoint(394, 394)}) {
        const QColor wood = target.pixelColor(corner);
        EXPECT_TRUE(wood.lightness() < 200 && wood.red() > wood.blue() + 20) << "brown wood";
    }
}

// Each control sits in a recessed pane: darker than the panel around it,
// dark above and light below (a sunken frame), holding the whole control.
TEST(BackgroundPicture, HasARecessedPaneBehindEachControl) {
    const QImage background = load(platform::Picture::Background);
    const std::pair<const char*, QRect> panes[] = {{"capture window", {30, 28, 160, 120}},
                                                   {"Text1", {28, 172, 163, 206}},
                                                   {"Command1", {31, 402, 158, 26}},
                                                   {"Image1", {219, 28, 400, 400}}};
    for (const auto& [control, r] : panes) {
        SCOPED_TRACE(control);
        const auto lightness = [&](QPoint p) { return background.pixelColor(p).lightness(); };
        const int panel = lightness({r.left() - 12, r.center().y()});
        EXPECT_LT(lightness(r.center()), panel - 30);
        EXPECT_LT(lightness({r.center().x(), r.top() - 3}),
                  lightness({r.center().x(), r.bottom() + 3}));
        for (const QPoint p : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
            EXPECT_LT(lightness(p), panel - 20) << p.x() << "," << p.y();
    }
}

// The about box's pistol is grey on white, the icon's on a clear ground.
TEST(PistolPictures, AreGreyPistolsOnTheirGrounds) {
    const QImage pistol = load(platform::Picture::AboutPistol);
    EXPECT_EQ(pistol.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(pistol.pixel(223, 130), qRgb(255, 255, 255));
    int drawn = 0;
    for (int y = 0; y < pistol.height(); ++y) {
        for (int x = 0; x < pistol.width(); ++x) {
            const QColor c = pistol.pixelColor(x, y);
            drawn += c.lightness() < 200 ? 1 : 0;
            ASSERT_LT(std::abs(c.red() - c.blue()), 24) << "grey at " << x << "," << y;
        }
    }
    EXPECT_GT(drawn, 225 * 132 / 4);
    const QImage icon = load(platform::Picture::Icon);
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)) + qAlpha(icon.pixel(31, 31)), 0);
    int opaque = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            opaque += qAlpha(icon.pixel(x, y)) > 128 ? 1 : 0;
    EXPECT_GT(opaque, 150);
}
