// The about box: what it shows and where, its web link, and opening it
// again after either way of closing it.

#include "support/AboutFrm.h"
#include "platform/Shell.h"
#include "support/HyperLink.h"

#include <QPointer>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {
class AboutBox : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setOpenHandler([this](const QString& target, bool) {
            addresses.append(target);
            return handOver;
        });
        about.show();
    }
    void TearDown() override { platform::setOpenHandler({}); }
    QWidget* child(const char* name) { return about.findChild<QWidget*>(name); }

    AboutFrm about;
    QStringList addresses;
    bool handOver = true;
};
} // namespace

TEST_F(AboutBox, LooksAsDesigned) {
    EXPECT_EQ(about.windowTitle(), "About Quillmere Vantorel");
    EXPECT_TRUE(about.size() == QSize(367, 263) && about.minimumSize() == about.maximumSize());
    const QPoint offset =
        about.frameGeometry().center() - about.screen()->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << "centred on the screen";
    const std::tuple<const char*, QRect, const char*, QColor> rows[] = {
        {"Image1", {73, 6, 225, 132}, "", Qt::black},
        {"Label3", {4, 150, 360, 24}, "Quillmere Vantorel v1.58", QColor(255, 0, 0)},
        {"Label4", {4, 180, 360, 16}, "Created by the Vantorel developers", Qt::black},
        {"Label1", {4, 203, 360, 15}, "Visit Our Web Site", QColor(0, 0, 255)},
        {"Command1", {145, 231, 77, 22}, "Close", Qt::black}};
    for (const auto& [name, geometry, text, colour] : rows) {
        SCOPED_TRACE(name);
        ASSERT_NE(child(name), nullptr);
        EXPECT_TRUE(child(name)->geometry() == geometry && child(name)->property("text") == text);
        EXPECT_EQ(child(name)->palette().color(QPalette::WindowText), colour);
    }
    EXPECT_EQ(about.palette().color(QPalette::Window), QColor(Qt::white));
    const QFont title = child("Label3")->font();
    EXPECT_TRUE(title.family() == "Arial" && title.bold() && title.pointSizeF() == 14.25);
    EXPECT_EQ(child("Label1")->cursor().hotSpot(), QPoint(12, 9)) << "the pointing hand";
}

// Each left click on the link asks again; closing by the button or the
// title bar only hides the box, which reopens as it was, its focus on the
// button, the only control that takes it.
TEST_F(AboutBox, LinkWorksAndTheBoxReopensAfterEitherClose) {
    const QPointer<AboutFrm> watch(&about);
    for (const bool byButton : {true, false}) {
        QTest::mouseClick(child("Label1"), Qt::LeftButton);
        QTest::mouseClick(child("Label1"), Qt::RightButton);
        byButton ? QTest::mouseClick(child("Command1"), Qt::LeftButton) : void(about.close());
        QCoreApplication::processEvents();
        ASSERT_FALSE(watch.isNull());
        EXPECT_FALSE(about.isVisible());
        about.show();
        EXPECT_EQ(about.focusWidget(), child("Command1"));
        EXPECT_EQ(about.FormLoadCount(), 1);
    }
    const QString site = HyperLink::WebSiteAddress;
    EXPECT_EQ(addresses, QStringList(2, site));
    EXPECT_TRUE(site.startsWith("https://") && site.contains(".example.org/"));
    EXPECT_NE(HyperLink::OpenLink(site), 0);
    handOver = false;
    EXPECT_EQ(HyperLink::OpenLink(site), 0) << "nothing could open it";
}
