// The windows' stored places: the text they are kept as, which places a
// screen still shows, the last words that keep them when the program ends,
// and the place a window in full screen keeps.

#include "platform/WindowPosition.h"
#include "platform/ProgramEnd.h"
#include "platform/SeamGuard.h"
#include "platform/SettingsStore.h"
#include "tests/fixtures/ScratchHome.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace {

using platform::readPositionText;

TEST(WindowPosition, TextReadsOnlyAsWritten) {
    for (const QPoint place : {QPoint(0, 0), QPoint(-1920, 35), QPoint(3839, -5)})
        EXPECT_EQ(readPositionText(platform::positionText(place)), place);
    EXPECT_EQ(readPositionText(" 12   34 "), QPoint(12, 34));
    for (const char* damaged : {"", " ", "12", "12 34 56", "12,34", "12;34", "1.5 3", "x 3",
                                "12 34x", "0x10 5", "--3 4", "1234567 8", "+12 34"})
        EXPECT_EQ(readPositionText(damaged), std::nullopt) << damaged;
}

// The start of the title bar (100 x 20 pixels) must lie on one screen.
TEST(WindowPosition, ReachableWhereOneScreenShowsTheTitleBar) {
    const QList<QRect> two{{0, 0, 1920, 1050}, {1920, 0, 1280, 1024}};
    EXPECT_TRUE(platform::reachableOn({0, 0}, two));
    EXPECT_TRUE(platform::reachableOn({1820, 1030}, two));
    EXPECT_TRUE(platform::reachableOn({1920, 40}, two)) << "on the second screen";
    EXPECT_TRUE(platform::reachableOn({3100, 1004}, two));
    EXPECT_FALSE(platform::reachableOn({1821, 40}, two)) << "across the two screens";
    EXPECT_FALSE(platform::reachableOn({1820, 1031}, two)) << "into the panel below";
    EXPECT_FALSE(platform::reachableOn({-1, 40}, two));
    EXPECT_FALSE(platform::reachableOn({100, -1}, two));
    EXPECT_FALSE(platform::reachableOn({3101, 40}, two));
    EXPECT_FALSE(platform::reachableOn({0, 0}, {})) << "no screen at all";
}

// Last words run when the program ends, in the order said, only while they
// live, before the ending itself; words may end other words.
TEST(LastWords, RunInOrderWhileTheyLiveBeforeTheEnd) {
    QStringList said;
    const platform::SeamGuard<platform::EndHandler> ending(platform::setEndHandler,
                                                           [&said](int) { said << "end"; });
    auto second = std::make_unique<platform::LastWords>([&said] { said << "second"; });
    std::unique_ptr<platform::LastWords> third;
    const platform::LastWords first([&] {
        said << "first";
        third.reset(); // words may end others
    });
    third = std::make_unique<platform::LastWords>([&said] { said << "third"; });
    platform::endProgram();
    EXPECT_EQ(said, (QStringList{"second", "first", "end"}));
    said.clear();
    second.reset();
    platform::endProgram();
    EXPECT_EQ(said, (QStringList{"first", "end"}));
}

// The end keeps a window's own place: where it stands, or where it stood
// before full screen; a window never shown keeps none. Stored places read
// back only while a screen shows them (offscreen: 800 x 800).
TEST(WindowPositionKeeper, KeepsTheWindowsOwnPlaceAtTheEnd) {
    const fixtures::ScratchHome home;
    const platform::SeamGuard<platform::EndHandler> ending(platform::setEndHandler, [](int) {});
    const auto stored = [](const char* key) {
        return platform::readSetting("Vantorel", "Window", key, "(none)");
    };
    QWidget hidden;
    const platform::WindowPositionKeeper hiddenKeeper(hidden, "Hidden");
    QWidget window;
    window.resize(300, 200);
    window.move(70, 80);
    // A child of the window, deleted with it.
    auto* keeper = new platform::WindowPositionKeeper(window, "Kept");
    EXPECT_EQ(keeper->position(), std::nullopt);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(keeper->position(), QPoint(70, 80));
    window.showFullScreen();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.pos() == QPoint(0, 0); }, 5000));
    EXPECT_EQ(keeper->position(), QPoint(70, 80));
    platform::endProgram();
    EXPECT_EQ(stored("Kept"), "70 80");
    EXPECT_EQ(stored("Hidden"), "(none)");
    window.showNormal();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.pos() == QPoint(70, 80); }, 5000));
    window.move(120, 90);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.pos() == QPoint(120, 90); }, 5000));
    window.showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.pos() == QPoint(0, 0); }, 5000));
    platform::endProgram();
    EXPECT_EQ(stored("Kept"), "120 90");
    EXPECT_EQ(platform::storedWindowPosition("Kept"), QPoint(120, 90));
    platform::writeSetting("Vantorel", "Window", "Kept", "701 90");
    EXPECT_EQ(platform::storedWindowPosition("Kept"), std::nullopt) << "off the screen";
    EXPECT_EQ(platform::storedWindowPosition("Nothing"), std::nullopt);
}

} // namespace
