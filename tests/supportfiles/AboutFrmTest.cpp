// The about box: what it shows, its link, and opening it again after either
// way of closing it.

#include "support/AboutFrm.h"
#include "platform/Shell.h"
#include "support/HyperLink.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {
class AboutBox : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setOpenHandler([this](const QString& target, bool isFile) {
            if (!isFile)
                addresses.append(target);
            return true;
        });
    }
    void TearDown() override { platform::setOpenHandler({}); }

    template <typename T> T* child(const char* name) {
        return about->findChild<T*>(QLatin1String(name));
    }
    void expectCaptions() {
        EXPECT_EQ(about->windowTitle(), QStringLiteral("About Quillmere Vantorel"));
        EXPECT_EQ(child<QLabel>("Label3")->text(), QStringLiteral("Quillmere Vantorel v1.58"));
        EXPECT_EQ(child<QLabel>("Label4")->text(),
                  QStringLiteral("Created by the Vantorel developers"));
        EXPECT_EQ(child<QLabel>("Label1")->text(), QStringLiteral("Visit Our Web Site"));
        EXPECT_EQ(child<QPushButton>("Command1")->text(), QStringLiteral("Close"));
    }

    std::unique_ptr<AboutFrm> about = std::make_unique<AboutFrm>();
    QStringList addresses;
};
} // namespace

TEST_F(AboutBox, ShowsNameVersionCreditAndLink) {
    expectCaptions();
    EXPECT_EQ(about->size(), QSize(367, 263));
    EXPECT_EQ(about->minimumSize(), about->maximumSize());
    const Qt::WindowFlags flags = about->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(about->palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(AboutBox, TitleIsRedBoldArialAndTheLinkBlue) {
    const QLabel* title = child<QLabel>("Label3");
    EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(title->font().family(), QStringLiteral("Arial"));
    EXPECT_TRUE(title->font().bold());
    EXPECT_DOUBLE_EQ(title->font().pointSizeF(), 14.25);
    const QLabel* link = child<QLabel>("Label1");
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_FALSE(link->font().underline());
    EXPECT_EQ(link->cursor().pixmap().size(), QSize(32, 32));
    EXPECT_EQ(link->cursor().hotSpot(), QPoint(12, 9));
}

TEST_F(AboutBox, PictureAndControlsStandWhereDesigned) {
    const QLabel* image = child<QLabel>("Image1");
    EXPECT_EQ(image->geometry(), QRect(73, 6, 225, 132));
    EXPECT_EQ(image->pixmap().size(), QSize(225, 132));
    EXPECT_EQ(child<QLabel>("Label3")->geometry(), QRect(4, 150, 360, 24));
    EXPECT_EQ(child<QLabel>("Label4")->geometry(), QRect(4, 180, 360, 16));
    EXPECT_EQ(child<QLabel>("Label1")->geometry(), QRect(4, 203, 360, 15));
    EXPECT_EQ(child<QPushButton>("Command1")->geometry(), QRect(145, 231, 77, 22));
}

TEST_F(AboutBox, OpensCentredWithTheFocusOnClose) {
    about->show();
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QPoint offset = about->frameGeometry().center() - screen->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);
    EXPECT_EQ(about->focusWidget(), child<QPushButton>("Command1"));
    // Only the button takes the focus.
    for (const char* name : {"Image1", "Label1", "Label3", "Label4"})
        EXPECT_EQ(child<QLabel>(name)->focusPolicy(), Qt::NoFocus) << name;
}

TEST_F(AboutBox, EveryLinkClickAsksAgainAndChangesNothing) {
    about->show();
    QLabel* link = child<QLabel>("Label1");
    QTest::mouseClick(link, Qt::LeftButton);
    QTest::mouseClick(link, Qt::LeftButton);
    QTest::mouseClick(link, Qt::RightButton);
    const QString site = QLatin1String(HyperLink::WebSiteAddress);
    EXPECT_EQ(addresses, (QStringList{site, site}));
    expectCaptions();
    EXPECT_TRUE(about->isVisible());
}

TEST_F(AboutBox, CloseHidesAndTheBoxReopensAsItWas) {
    about->show();
    QTest::mouseClick(child<QPushButton>("Command1"), Qt::LeftButton);
    EXPECT_FALSE(about->isVisible());
    about->show();
    EXPECT_TRUE(about->isVisible());
    expectCaptions();
    EXPECT_EQ(about->FormLoadCount(), 1);
    EXPECT_EQ(about->focusWidget(), child<QPushButton>("Command1"));
}

TEST_F(AboutBox, TitleBarCloseHidesAndTheBoxReopensAsItWas) {
    about->show();
    const QPointer<AboutFrm> watch(about.get());
    about->close();
    QCoreApplication::processEvents();
    ASSERT_FALSE(watch.isNull());
    EXPECT_FALSE(about->isVisible());
    about->show();
    expectCaptions();
    EXPECT_EQ(about->FormLoadCount(), 1);
    QTest::mouseClick(child<QLabel>("Label1"), Qt::LeftButton);
    EXPECT_EQ(addresses.size(), 1);
}
