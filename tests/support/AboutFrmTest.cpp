// The about box: its web link, and opening it again after either way of
// closing it.

#include "support/AboutFrm.h"
#include "platform/SeamGuard.h"
#include "platform/Shell.h"
#include "support/HyperLink.h"

#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

// Each left click on the link asks again; closing by the button or the
// title bar only hides the box, which reopens as it was, its focus on the
// button, the only control that takes it.
TEST(AboutBox, LinkAsksOnEachClickAndTheBoxReopensAfterEitherClose) {
    QStringList addresses;
    const platform::SeamGuard shell(platform::setOpenHandler, [&](const QString& target, bool) {
        addresses.append(target);
        return true;
    });
    AboutFrm about;
    about.show();
    const auto child = [&about](const char* name) { return about.findChild<QWidget*>(name); };
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
    EXPECT_EQ(addresses, QStringList(2, HyperLink::WebSiteAddress));
}
