// Opening the makers' web site.

#include "support/HyperLink.h"
#include "platform/Shell.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {
class WebLink : public ::testing::Test {
protected:
    void TearDown() override { platform::setOpenHandler({}); }
    void answerWith(bool handedOver) {
        platform::setOpenHandler([this, handedOver](const QString& target, bool isFile) {
            requests.append(target);
            files += isFile ? 1 : 0;
            return handedOver;
        });
    }
    QStringList requests;
    int files = 0;
};
} // namespace

TEST_F(WebLink, AsksTheDesktopToOpenTheAddress) {
    answerWith(true);
    EXPECT_NE(HyperLink::OpenLink(QStringLiteral("https://vantorel.example.org/")), 0);
    EXPECT_EQ(requests, QStringList{QStringLiteral("https://vantorel.example.org/")});
    EXPECT_EQ(files, 0);
}

TEST_F(WebLink, AnswersZeroWhenNothingCouldOpenIt) {
    answerWith(false);
    EXPECT_EQ(HyperLink::OpenLink(QStringLiteral("https://vantorel.example.org/")), 0);
    EXPECT_EQ(requests.size(), 1);
}

TEST(WebSite, AddressIsAWebAddressUnderTheReservedExampleDomain) {
    const QString address = QLatin1String(HyperLink::WebSiteAddress);
    EXPECT_TRUE(address.startsWith(QStringLiteral("https://")));
    EXPECT_TRUE(address.contains(QStringLiteral(".example.org")));
}
