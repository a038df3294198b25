// The full-screen view: the designed window enlarged by one factor, keys and
// focus as in the window, and the designed window again on leaving it; the
// window's place and view kept with the settings, and stored places that
// cannot be used ignored.

#include "app/FullScreenView.h"
#include "app/HoleMarker.h"
#include "platform/SettingsStore.h"
#include "platform/WindowPosition.h"
#include "tests/app/AppFixture.h"

#include <QGraphicsProxyWidget>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <cmath>

namespace apptest {
namespace {

using app::FullScreenView;

const QSize Designed(650, 459);

QString stored(const char* key) {
    return platform::readSetting("Vantorel", "Window", key, QStringLiteral("(none)"));
}

// Where every part of the designed window stands: the window's size and each
// control's place in the client area.
QMap<QString, QRect> layoutOf(app::Vantorel& window) {
    QMap<QString, QRect> places{{"window", QRect(QPoint(), window.size())}};
    places["client"] = window.clientArea()->geometry();
    for (const char* name : {"Image1", "Text1", "Command1"})
        places[name] = window.clientArea()->findChild<QWidget*>(name)->geometry();
    for (int k = 0; k < app::Vantorel::Markers; ++k)
        places[QStringLiteral("Shape2_%1").arg(k)] = window.Shape2(k)->geometry();
    places["capture"] = capture::findCaptureWindow(window.CaptureWnd())->geometry();
    return places;
}

// A point of the designed client area, in pixels of the window, full screen.
QPoint shownAt(app::Vantorel& window, QPointF designed) {
    FullScreenView* view = window.fullScreenView();
    const QGraphicsProxyWidget* proxy = window.clientArea()->graphicsProxyWidget();
    return view->mapTo(&window, view->mapFromScene(proxy->mapToScene(designed)));
}

class FullScreen : public AppFixture {
protected:
    FullScreen() { start(); }
    // A key as the keyboard presses it: to the window, which hands it on.
    void press(Qt::Key key) { QTest::keyClick(window().windowHandle(), key); }
};

// The factor is the largest that shows the whole window: the narrower of the
// two directions decides, so the picture keeps its shape.
TEST(FullScreenFactor, TheWholeDesignedWindowAsLargeAsTheScreenAllows) {
    const struct {
        QSize area;
        double factor;
    } rows[] = {
        {{1920, 1055}, 1055.0 / 459}, // 1920 x 1080 below a 25-pixel menu bar
        {{960, 518}, 518.0 / 459},    // the same screen at a text scale of 2
        {{1300, 918}, 2.0},           // exactly twice
        {{1300, 2000}, 2.0},          // a screen on its side: the width decides
        {{3840, 2135}, 2135.0 / 459}, // 4K
        {{650, 459}, 1.0},            // the designed size
        {{320, 240}, 320.0 / 650},    // smaller than designed: all of it, smaller
        {{0, 0}, 1.0},                // not laid out yet
    };
    for (const auto& row : rows)
        EXPECT_DOUBLE_EQ(FullScreenView::factorFor(Designed, row.area), row.factor)
            << row.area.width() << " x " << row.area.height();
}

// F11 shows the designed window scaled by one factor to the screen below the
// menu bar: target, holes, score card, button and live picture where the
// design puts them, only larger, and working as before. Esc gives back the
// designed window exactly, the second F11 too.
TEST_F(FullScreen, EnlargesTheDesignedWindowByOneFactorAndGivesItBackExactly) {
    // A series with a hole at the target's centre and one five rings to the
    // right, "New Game" from the keyboard.
    const auto playTwoShots = [this] {
        press(Qt::Key_Space);
        EXPECT_EQ(window().ShotCount(), 0);
        endPause();
        window().SetHole(0, 0, 10.0);
        window().SetHole(-1500, 0, 5.0); // during the pause: turned away
        endPause();
        window().SetHole(-1500, 0, 5.0);
        EXPECT_EQ(window().ShotCount(), 2);
    };
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    playTwoShots();
    const QMap<QString, QRect> designed = layoutOf(window());
    ASSERT_EQ(designed["client"].size(), Designed);
    QAction* item = action("fullScreen");
    ASSERT_TRUE(item != nullptr && item->isCheckable() && !item->isChecked());
    EXPECT_EQ(item->text(), QStringLiteral("Full Screen"));
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::Key_F11));

    for (const Qt::Key leave : {Qt::Key_Escape, Qt::Key_F11}) {
        press(Qt::Key_F11);
        FullScreenView* view = window().fullScreenView();
        ASSERT_NE(view, nullptr);
        EXPECT_TRUE(item->isChecked());
        EXPECT_EQ(stored("FullScreen"), QStringLiteral("1"));
        const QRect screen = window().screen()->geometry();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return window().isFullScreen() && window().size() == screen.size(); }, 5000));
        // The menu bar above, the view filling the rest.
        const QRect bar = window().menuBar()->geometry();
        EXPECT_TRUE(window().menuBar()->isVisible() && bar.top() == 0);
        EXPECT_EQ(view->geometry(),
                  QRect(0, bar.bottom() + 1, screen.width(), screen.height() - bar.height()));
        const double factor = FullScreenView::factorFor(Designed, view->size());
        EXPECT_DOUBLE_EQ(view->factor(), factor);
        EXPECT_GT(factor, 1.0);
        // The designed window, centred in the view, each side by the factor.
        const QPoint topLeft = shownAt(window(), {0, 0});
        const QPoint bottomRight = shownAt(window(), QPointF(Designed.width(), Designed.height()));
        EXPECT_NEAR(bottomRight.x() - topLeft.x(), Designed.width() * factor, 1);
        EXPECT_NEAR(bottomRight.y() - topLeft.y(), Designed.height() * factor, 1);
        EXPECT_NEAR(topLeft.x(), view->width() - bottomRight.x(), 2);
        EXPECT_NEAR(topLeft.y() - view->y(), view->geometry().bottom() + 1 - bottomRight.y(), 2);
        // The controls themselves keep their designed places.
        QMap<QString, QRect> inside = layoutOf(window());
        QMap<QString, QRect> designedInside = designed;
        for (const char* outer : {"window", "client"}) {
            inside.remove(outer);
            designedInside.remove(outer);
        }
        EXPECT_EQ(inside, designedInside);
        EXPECT_EQ(window().clientArea()->size(), Designed);

        // What it shows: the hole at the target's centre (designed 419, 228),
        // the one five rings to its right, the white paper between them
        // (off the ring numbers), the score card's grey, and black beside
        // the picture.
        const QImage shown = window().grab().toImage();
        const auto grey = [&](QPointF at) { return qGray(shown.pixel(shownAt(window(), at))); };
        EXPECT_LT(grey({419, 228}), 40) << "the hole at the centre";
        EXPECT_LT(grey({519, 228}), 40) << "the hole five rings out";
        EXPECT_GT(grey({455, 192}), 150) << "the paper between";
        const QColor card = shown.pixelColor(shownAt(window(), {100, 360}));
        EXPECT_TRUE(std::abs(card.red() - 80) < 10 && std::abs(card.blue() - 80) < 10)
            << "the score card: " << card.name().toStdString();
        const QPoint beside = topLeft.x() > 2 ? QPoint(1, view->y() + view->height() / 2)
                                              : QPoint(view->width() / 2, view->y() + 1);
        EXPECT_EQ(qGray(shown.pixel(beside)), 0) << "black beside the picture";

        // The keys work the button as before; the score card hands the
        // focus on.
        window().clientArea()->findChild<QPlainTextEdit*>("Text1")->setFocus();
        playTwoShots();
        EXPECT_EQ(layoutOf(window()).value("Shape2_1"), designed["Shape2_1"]);

        press(leave);
        EXPECT_EQ(window().fullScreenView(), nullptr);
        EXPECT_FALSE(item->isChecked());
        EXPECT_EQ(stored("FullScreen"), QStringLiteral("0"));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return !window().isFullScreen() && window().size() == designed["window"].size();
            },
            5000));
        EXPECT_EQ(window().minimumSize(), window().maximumSize()) << "fixed again";
        EXPECT_EQ(window().centralWidget()->objectName(), QStringLiteral("client"));
        EXPECT_EQ(window().clientArea()->windowHandle(), nullptr) << "no window of its own";
        EXPECT_EQ(window().clientArea()->internalWinId(), 0);
        EXPECT_EQ(layoutOf(window()), designed);
        playTwoShots();
        EXPECT_EQ(layoutOf(window()), designed);
    }
}

// The place and the view the window had at the end return at the next
// start. A stored place that does not read, or that no screen shows now
// (the offscreen screen is 800 x 800 at 0, 0), leaves the window where the
// desktop puts it; a view other than "1" is the designed window.
struct StoredCase : Row {
    const char* place;
    const char* view;
    bool placeUsed, fullScreen;
};

class StartsFromStored : public AppFixture, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(StartsFromStored, PlaceAndViewWhenUsable) {
    const StoredCase& c = GetParam();
    platform::writeSetting("Vantorel", "Window", "MainWindow", c.place);
    platform::writeSetting("Vantorel", "Window", "FullScreen", c.view);
    start();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    EXPECT_EQ(window().fullScreenView() != nullptr, c.fullScreen);
    EXPECT_EQ(action("fullScreen")->isChecked(), c.fullScreen);
    if (c.fullScreen) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return window().isFullScreen(); }, 5000));
        QTest::keyClick(window().windowHandle(), Qt::Key_Escape);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return window().size() != window().screen()->size(); }, 5000));
    }
    const std::optional<QPoint> place = platform::readPositionText(c.place);
    // Out of full screen the offscreen platform gives the window its 2-pixel
    // frame back only after the move.
    if (c.placeUsed)
        EXPECT_LE((window().pos() - *place).manhattanLength(), c.fullScreen ? 4 : 0)
            << window().pos().x() << ", " << window().pos().y();
    else
        EXPECT_TRUE(window().screen()->availableGeometry().contains(window().frameGeometry()))
            << window().pos().x() << ", " << window().pos().y();
    // Not even the designed view was stored before it was chosen.
    EXPECT_EQ(stored("FullScreen"), QString(c.fullScreen ? "0" : c.view));
}

INSTANTIATE_TEST_SUITE_P(Cases, StartsFromStored,
                         ::testing::ValuesIn(std::vector<StoredCase>{
                             {{"Placed"}, "40 30", "0", true, false},
                             {{"PlacedWithBlanksFullScreen"}, " 120  90 ", "1", true, true},
                             {{"OnTheScreenEdge"}, "700 780", "", true, false},
                             {{"TitleBarOffTheRight"}, "701 30", "", false, false},
                             {{"LeftOfEveryScreen"}, "-2000 30", "", false, false},
                             {{"AboveTheScreen"}, "40 -1", "", false, false},
                             {{"Huge"}, "99999 99999", "", false, false},
                             {{"TooManyDigits"}, "1234567 5", "", false, false},
                             {{"Comma"}, "40,30", "", false, false},
                             {{"OneNumber"}, "40", "", false, false},
                             {{"ThreeNumbers"}, "40 30 7", "", false, false},
                             {{"Fraction"}, "40.5 30", "", false, false},
                             {{"Words"}, "left top", "yes", false, false},
                             {{"Empty"}, "", "-1", false, false},
                         }),
                         RowName);

// The end keeps where the window stood, also when it ends in full screen,
// and the view it ends in.
TEST_F(FullScreen, TheEndKeepsThePlaceItHadBeforeFullScreen) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    window().move(60, 50);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window().pos() == QPoint(60, 50); }, 5000));
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    press(Qt::Key_F11);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window().pos() == QPoint(0, 0); }, 5000));
    EXPECT_EQ(stored("MainWindow"), QStringLiteral("(none)"));
    action("ex")->trigger();
    EXPECT_EQ(endCount_, 1);
    EXPECT_EQ(stored("MainWindow"), QStringLiteral("60 50"));
    EXPECT_EQ(stored("FullScreen"), QStringLiteral("1"));
}

} // namespace
} // namespace apptest
