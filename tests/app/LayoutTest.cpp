// The main window as laid out: controls, places, colours, menus.

#include "app/HoleMarker.h"
#include "tests/app/AppFixture.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace apptest {
namespace {

using Layout = AppFixture;

TEST_F(Layout, ClientAreaIsFixedBelowTheMenuBar) {
    start();
    EXPECT_EQ(window().centralWidget()->size(), QSize(650, 459));
    EXPECT_EQ(window().centralWidget()->y(), window().menuBar()->height());
    EXPECT_EQ(window().minimumSize(), window().maximumSize());
}

TEST_F(Layout, ControlsStandWhereDesigned) {
    auto* image = window().findChild<QLabel*>(QStringLiteral("Image1"));
    auto* card = window().findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    auto* button = window().findChild<QPushButton*>(QStringLiteral("Command1"));
    ASSERT_TRUE(image && card && button);
    EXPECT_EQ(image->geometry(), QRect(219, 28, 400, 400));
    EXPECT_FALSE(image->pixmap().isNull());
    EXPECT_EQ(card->geometry(), QRect(28, 172, 163, 206));
    EXPECT_EQ(button->geometry(), QRect(31, 402, 158, 26));
    EXPECT_EQ(button->text(), QStringLiteral("New Game"));
    EXPECT_TRUE(card->isReadOnly());
    EXPECT_EQ(card->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(card->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(card->palette().color(QPalette::Base), QColor(80, 80, 80));
    EXPECT_EQ(card->palette().color(QPalette::Text), QColor(0, 255, 255));
    // The tab key goes from the score card to the button.
    QWidget* next = card->nextInFocusChain();
    while (next != card && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    EXPECT_EQ(next, button);
    auto* timer = window().findChild<QTimer*>(QStringLiteral("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->isActive());
}

TEST_F(Layout, MarkersStartOutOfViewBelowTheClientArea) {
    const std::array<float, 10> left{5325, 5505, 5700, 5880, 6060, 6225, 6405, 6600, 6780, 6975};
    for (int k = 0; k < 10; ++k) {
        app::HoleMarker* marker =
            window().findChild<app::HoleMarker*>(QStringLiteral("Shape2_%1").arg(k));
        ASSERT_EQ(marker, window().Shape2(k));
        EXPECT_EQ(marker->Left(), left[k]);
        EXPECT_EQ(marker->Top(), (k < 4 || k == 8) ? 7320.0F : 7305.0F);
        EXPECT_EQ(marker->Width(), 150.0F);
        EXPECT_GE(marker->y(), 459);
    }
}

TEST_F(Layout, MenusCarryTheirDesignedNamesAndCaptions) {
    const std::vector<std::pair<const char*, const char*>> menus{
        {"fl", "File"}, {"opt", "Options"}, {"hl", "Help"}};
    for (const auto& [name, caption] : menus) {
        auto* menu = window().findChild<QMenu*>(QString::fromLatin1(name));
        ASSERT_NE(menu, nullptr) << name;
        EXPECT_EQ(menu->title(), QString::fromLatin1(caption));
    }
    const std::vector<std::pair<const char*, const char*>> items{
        {"ex", "Exit"},         {"frt", "Format"}, {"src", "Source"},    {"stt", "Settings"},
        {"hlp", "Help Topics"}, {"abt", "About"},  {"dev_0", "Device0"}, {"dev_9", "Device9"}};
    for (const auto& [name, caption] : items) {
        QAction* item = action(QString::fromLatin1(name));
        ASSERT_NE(item, nullptr) << name;
        EXPECT_EQ(item->text(), QString::fromLatin1(caption));
        EXPECT_TRUE(item->shortcut().isEmpty());
        EXPECT_FALSE(item->isCheckable());
    }
    EXPECT_TRUE(action(QStringLiteral("Spacer1"))->isSeparator());
    EXPECT_TRUE(action(QStringLiteral("Spacer2"))->isSeparator());
}

TEST_F(Layout, ParkedMarkersHideBehindTheLivePicture) {
    start();
    window().Command1_Click();
    const QRect preview(30, 28, 160, 120);
    for (int k = 0; k < 10; ++k)
        EXPECT_TRUE(preview.contains(window().Shape2(k)->geometry())) << k;
}

} // namespace
} // namespace apptest
