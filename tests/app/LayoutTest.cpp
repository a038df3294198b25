// The main window as laid out: controls, places, colours, menus; and the
// number format of the score card.

#include "app/HoleMarker.h"
#include "app/NumberFormat.h"
#include "tests/app/AppFixture.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <limits>

namespace apptest {
namespace {

using Layout = AppFixture;

TEST_F(Layout, ControlsStandWhereDesigned) {
    start();
    EXPECT_EQ(window().centralWidget()->size(), QSize(650, 459));
    EXPECT_EQ(window().centralWidget()->y(), window().menuBar()->height());
    EXPECT_EQ(window().minimumSize(), window().maximumSize());
    auto* image = window().findChild<QLabel*>("Image1");
    auto* card = window().findChild<QPlainTextEdit*>("Text1");
    auto* button = window().findChild<QPushButton*>("Command1");
    EXPECT_EQ(image->geometry(), QRect(219, 28, 400, 400));
    EXPECT_FALSE(image->pixmap().isNull());
    EXPECT_EQ(card->geometry(), QRect(28, 172, 163, 206));
    EXPECT_EQ(button->geometry(), QRect(31, 402, 158, 26));
    EXPECT_EQ(button->text(), QStringLiteral("New Game"));
    EXPECT_TRUE(card->isReadOnly());
    EXPECT_EQ(card->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(card->palette().color(QPalette::Base), QColor(80, 80, 80));
    EXPECT_EQ(card->palette().color(QPalette::Text), QColor(0, 255, 255));
    // Markers start out of view, below the client area.
    const std::array<float, 10> left{5325, 5505, 5700, 5880, 6060, 6225, 6405, 6600, 6780, 6975};
    for (int k = 0; k < 10; ++k) {
        app::HoleMarker* marker = window().Shape2(k);
        EXPECT_EQ(marker->objectName(), QStringLiteral("Shape2_%1").arg(k));
        EXPECT_EQ(marker->Left(), left[k]);
        EXPECT_EQ(marker->Top(), (k < 4 || k == 8) ? 7320.0F : 7305.0F);
        EXPECT_GE(marker->y(), 459);
    }
}

TEST_F(Layout, MenusCarryTheirDesignedNamesAndCaptions) {
    for (const auto& [name, caption] :
         {std::pair{"fl", "File"}, {"opt", "Options"}, {"hl", "Help"}})
        EXPECT_EQ(window().findChild<QMenu*>(name)->title(), caption);
    const std::vector<std::pair<const char*, const char*>> items{
        {"ex", "Exit"},         {"frt", "Format"}, {"src", "Source"},    {"stt", "Settings"},
        {"hlp", "Help Topics"}, {"abt", "About"},  {"dev_0", "Device0"}, {"dev_9", "Device9"}};
    for (const auto& [name, caption] : items)
        EXPECT_EQ(action(name)->text(), caption);
    EXPECT_TRUE(action("Spacer1")->isSeparator() && action("Spacer2")->isSeparator());
}

// Score card fields: right-aligned, one minus sign, never cut.
TEST(NumberFormat, WritesTheValueRightAlignedWithOneMinusSign) {
    const std::vector<std::tuple<std::int32_t, int, const char*>> table{
        {0, 2, " 0"},      {9, 2, " 9"},
        {10, 2, "10"},     {-1, 2, "-1"},
        {-9, 2, "-9"},     {7, 3, "  7"},
        {100, 3, "100"},   {-12, 3, "-12"},
        {-5, 3, " -5"},    {-123, 3, "-123"},
        {1234, 2, "1234"}, {std::numeric_limits<std::int32_t>::min(), 2, "-2147483648"}};
    for (const auto& [value, width, text] : table)
        EXPECT_EQ(app::FormatNumber(value, width), QString::fromLatin1(text)) << value;
}

} // namespace
} // namespace apptest
