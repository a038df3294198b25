// The windows' pictures: the target's rings measured from its pixels, the
// background's panes behind the controls, and the pistol pictures.

#include "platform/ResourceReader.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

static QImage load(platform::Picture picture) {
    return platform::LoadResPicture(picture).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Ten ring lines every 20 pixels, white between them, the outermost just
// inside radius 200 so that the disc touches the edges, wood in the corners.
// Seen between the axes, clear of the zone numbers.
TEST(TargetPicture, RingsLieEveryTwentyPixelsOnAWhiteDiscOnWood) {
    const QImage target = load(platform::Picture::Target);
    ASSERT_EQ(target.size(), QSize(400, 400));
    for (double degrees = 22.5; degrees < 360;
         degrees += std::fmod(degrees + 22.5, 90) == 0 ? 45 : 22.5) {
        const double a = degrees * std::numbers::pi / 180;
        const auto grey = [&](double r) {
            return qGray(target.pixel(int(200 + r * std::cos(a)), int(200 - r * std::sin(a))));
        };
        for (int k = 1; k <= 10; ++k) {
            const double line = std::min(20.0 * k, 199.0);
            EXPECT_LT(std::min({grey(line - 1), grey(line), grey(line + 0.9)}), 100)
                << "ring line " << k << " at " << degrees << " degrees";
            EXPECT_GT(grey(20.0 * k - 10), 240) << "inside ring " << k << " at " << degrees;
        }
    }
    for (const QColor wood : {target.pixelColor(5, 5), target.pixelColor(394, 394)})
        EXPECT_TRUE(wood.lightness() < 200 && wood.red() > wood.blue() + 20) << "brown wood";
}

// Each control sits in a recessed pane: darker than the panel around it,
// dark above and light below (a sunken frame), holding the whole control.
TEST(BackgroundPicture, HasARecessedPaneBehindEachControl) {
    const QImage background = load(platform::Picture::Background);
    ASSERT_EQ(background.size(), QSize(650, 459));
    const auto lightness = [&](QPoint p) { return background.pixelColor(p).lightness(); };
    const std::pair<const char*, QRect> panes[] = {{"capture window", {30, 28, 160, 120}},
                                                   {"Text1", {28, 172, 163, 206}},
                                                   {"Command1", {31, 402, 158, 26}},
                                                   {"Image1", {219, 28, 400, 400}}};
    for (const auto& [control, r] : panes) {
        const int panel = lightness({r.left() - 12, r.center().y()});
        EXPECT_LT(lightness(r.center()), panel - 30) << control;
        EXPECT_LT(lightness({r.center().x(), r.top() - 3}),
                  lightness({r.center().x(), r.bottom() + 3}))
            << control;
        for (const QPoint p : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
            EXPECT_LT(lightness(p), panel - 20) << control << " at " << p.x() << "," << p.y();
    }
}

// The about box's pistol is grey on white, the icon's on a clear ground.
TEST(PistolPictures, AreGreyPistolsOnTheirGrounds) {
    const QImage pistol = load(platform::Picture::AboutPistol);
    ASSERT_EQ(pistol.size(), QSize(225, 132));
    EXPECT_TRUE(pistol.pixel(1, 1) == qRgb(255, 255, 255) &&
                pistol.pixel(223, 130) == qRgb(255, 255, 255));
    int drawn = 0;
    for (int i = 0; i < 225 * 132; ++i) {
        const QColor c = pistol.pixelColor(i % 225, i / 225);
        drawn += c.lightness() < 200 ? 1 : 0;
        ASSERT_LT(std::abs(c.red() - c.blue()), 24) << "grey at " << i % 225 << "," << i / 225;
    }
    EXPECT_GT(drawn, 225 * 132 / 4);
    const QImage icon = load(platform::Picture::Icon);
    ASSERT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)) + qAlpha(icon.pixel(31, 31)), 0);
    int opaque = 0;
    for (int i = 0; i < 32 * 32; ++i)
        opaque += qAlpha(icon.pixel(i % 32, i / 32)) > 128 ? 1 : 0;
    EXPECT_GT(opaque, 150);
}
