// The about box: what it shows and where, its web link, and opening it
// again after either way of closing it.

#include "support/AboutFrm.h"
#include "platform/Shell.h"
#include "support/HyperLink.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {
class AboutBox : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setOpenHandler([this](const QString& target, bool isFile) {
            addresses.append(isFile ? QStringLiteral("file ") + target : target);
            return handOver;
        });
    }
    void TearDown() override { platform::setOpenHandler({}); }
    QWidget* child(const char* name) { return about->findChild<QWidget*>(QLatin1String(name)); }
    QLabel* label(const char* name) { return qobject_cast<QLabel*>(child(name)); }
    void expectAsDesigned() {
        EXPECT_EQ(about->windowTitle(), QStringLiteral("About Quillmere Vantorel"));
        EXPECT_EQ(about->size(), QSize(367, 263));
        const struct {
            const char* name;
            QRect geometry;
            const char* text;
        } rows[] = {{"Image1", {73, 6, 225, 132}, ""},
                    {"Label3", {4, 150, 360, 24}, "Quillmere Vantorel v1.58"},
                    {"Label4", {4, 180, 360, 16}, "Created by the Vantorel developers"},
                    {"Label1", {4, 203, 360, 15}, "Visit Our Web Site"},
                    {"Command1", {145, 231, 77, 22}, "Close"}};
        for (const auto& row : rows) {
            SCOPED_TRACE(row.name);
            ASSERT_NE(child(row.name), nullptr);
            EXPECT_EQ(child(row.name)->geometry(), row.geometry);
            EXPECT_EQ(child(row.name)->property("text").toString(), QLatin1String(row.text));
            // Only the button takes the focus.
            EXPECT_EQ(child(row.name)->focusPolicy() == Qt::NoFocus, row.name[0] != 'C');
        }
        EXPECT_EQ(about->focusWidget(), child("Command1"));
    }

    std::unique_ptr<AboutFrm> about = std::make_unique<AboutFrm>();
    QStringList addresses;
    bool handOver = true;
};
} // namespace

TEST_F(AboutBox, LooksAsDesigned) {
    about->show();
    expectAsDesigned();
    EXPECT_EQ(about->minimumSize(), about->maximumSize());
    EXPECT_FALSE(about->windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    const QPoint offset = about->frameGeometry().center() -
                          QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << "centred on the screen";
    EXPECT_EQ(about->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(label("Image1")->pixmap().size(), QSize(225, 132));
    const QLabel* title = label("Label3");
    EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(title->font().family(), QStringLiteral("Arial"));
    EXPECT_TRUE(title->font().bold());
    EXPECT_DOUBLE_EQ(title->font().pointSizeF(), 14.25);
    const QLabel* link = label("Label1");
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(link->cursor().hotSpot(), QPoint(12, 9)) << "the pointing hand";
}

// Each left click asks again; the box stays as it was. The link answers 0
// when nothing could open the address.
TEST_F(AboutBox, LinkOpensTheWebSiteOnEveryClick) {
    about->show();
    for (const auto button : {Qt::LeftButton, Qt::LeftButton, Qt::RightButton})
        QTest::mouseClick(label("Label1"), button);
    const QString site = QLatin1String(HyperLink::WebSiteAddress);
    EXPECT_TRUE(site.startsWith(QStringLiteral("https://")) && site.contains(".example.org"));
    EXPECT_EQ(addresses, QStringList(2, site));
    expectAsDesigned();
    EXPECT_NE(HyperLink::OpenLink(site), 0);
    handOver = false;
    EXPECT_EQ(HyperLink::OpenLink(site), 0);
}

TEST_F(AboutBox, BothWaysOfClosingHideItAndItReopensAsItWas) {
    const QPointer<AboutFrm> watch(about.get());
    for (const bool byButton : {true, false}) {
        SCOPED_TRACE(byButton ? "Close" : "title bar");
        about->show();
        byButton ? QTest::mouseClick(child("Command1"), Qt::LeftButton) : void(about->close());
        QCoreApplication::processEvents();
        ASSERT_FALSE(watch.isNull());
        EXPECT_FALSE(about->isVisible());
        about->show();
        expectAsDesigned();
        EXPECT_EQ(about->FormLoadCount(), 1);
    }
    QTest::mouseClick(label("Label1"), Qt::LeftButton);
    EXPECT_EQ(addresses.size(), 1);
}
