// Start-up: the device menu, the stored parameters, the fonts, the caption,
// the target centre and the capture window.

#include "detection/MotionDetection.h"
#include "platform/CaptureService.h"
#include "platform/CaptureWindow.h"
#include "platform/SettingsStore.h"
#include "settings/SettingsFrm.h"
#include "tests/app/AppFixture.h"

#include <QAction>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTest>

namespace apptest {
namespace {

using StartUp = AppFixture;

QString stored(const char* key) {
    return platform::GetSetting(QStringLiteral("Vantorel"), QStringLiteral("Settings"),
                                QString::fromLatin1(key), QStringLiteral("missing"));
}

TEST_F(StartUp, SetsCaptionTargetCentreAndReArmDelay) {
    start();
    ASSERT_FALSE(window().Ended());
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Quillmere Vantorel"));
    EXPECT_EQ(window().TargetCentreX(), 6285);
    EXPECT_EQ(window().TargetCentreY(), 3420);
    EXPECT_EQ(window().RearmDelay(), 1500);
    EXPECT_EQ(window().TargetHeight(), 6000.0F);
    EXPECT_TRUE(messages_.shown().isEmpty());
}

TEST_F(StartUp, CreatesTheCaptureWindowAtItsPixelsInTheClientArea) {
    start();
    ASSERT_NE(window().CaptureWnd(), 0U);
    platform::CaptureWindow* capture = platform::findCaptureWindow(window().CaptureWnd());
    ASSERT_NE(capture, nullptr);
    EXPECT_EQ(capture->parentWidget(), window().centralWidget());
    EXPECT_EQ(capture->geometry(), QRect(30, 28, 160, 120));
    EXPECT_TRUE(capture->isVisible());
    EXPECT_TRUE(capture->isConnected());
    EXPECT_EQ(capture->driverIndex(), 0);
}

TEST_F(StartUp, GivesTheScoreCardAndButtonTheDisplayFont) {
    start();
    const QFont card = window().findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->font();
    const QFont button = window().findChild<QPushButton*>(QStringLiteral("Command1"))->font();
    EXPECT_EQ(QFontInfo(card).family(), QStringLiteral("LCD2"));
    EXPECT_EQ(card.pointSize(), 11);
    EXPECT_TRUE(card.bold());
    EXPECT_EQ(QFontInfo(button).family(), QStringLiteral("LCD2"));
    EXPECT_EQ(button.pointSize(), 14);
    EXPECT_TRUE(button.bold());
}

TEST_F(StartUp, FocusGoesThroughTheScoreCardToNewGame) {
    start();
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    EXPECT_EQ(QApplication::focusWidget(),
              window().findChild<QPushButton*>(QStringLiteral("Command1")));
    window().findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->setFocus();
    EXPECT_EQ(QApplication::focusWidget(),
              window().findChild<QPushButton*>(QStringLiteral("Command1")));
}

TEST_F(StartUp, FreshStoreLoadsAndWritesBackTheDefaults) {
    start();
    SettingsFrm* settings = window().SettingsForm();
    ASSERT_NE(settings, nullptr);
    EXPECT_FALSE(settings->isVisible());
    EXPECT_EQ(settings->Slider1(0)->value(), 1);
    EXPECT_EQ(settings->Slider1(1)->value(), 5);
    EXPECT_EQ(settings->Slider1(2)->value(), 50);
    EXPECT_EQ(settings->Slider1(3)->value(), 20);
    EXPECT_EQ(MotionDetection::GetSampleEveryNthFrame(), 1);
    EXPECT_EQ(MotionDetection::GetCompareEveryNthByte(), 5);
    EXPECT_EQ(MotionDetection::GetTolerance(), 50);
    EXPECT_EQ(MotionDetection::GetMaxLaserBeam(), 20);
    EXPECT_EQ(stored("SampleEveryNthFrame"), QStringLiteral(" 1"));
    EXPECT_EQ(stored("CompareEveryNthByte"), QStringLiteral(" 5"));
    EXPECT_EQ(stored("Tolerance"), QStringLiteral(" 50"));
    EXPECT_EQ(stored("MaxLaserBeam"), QStringLiteral(" 20"));
}

struct StoredCase {
    const char* name;
    std::array<const char*, 4> texts; // SampleEveryNthFrame .. MaxLaserBeam
    std::array<int, 4> values;
};

class StoredParameters : public AppFixture, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(StoredParameters, PassThroughTheSlidersToTheSetters) {
    const StoredCase c = GetParam();
    const std::array<const char*, 4> keys{"SampleEveryNthFrame", "CompareEveryNthByte", "Tolerance",
                                          "MaxLaserBeam"};
    for (int i = 0; i < 4; ++i)
        platform::SaveSetting(QStringLiteral("Vantorel"), QStringLiteral("Settings"),
                              QString::fromLatin1(keys[i]), QString::fromLatin1(c.texts[i]));
    start();
    ASSERT_FALSE(window().Ended());
    const std::array<int, 4> live{
        MotionDetection::GetSampleEveryNthFrame(), MotionDetection::GetCompareEveryNthByte(),
        MotionDetection::GetTolerance(), MotionDetection::GetMaxLaserBeam()};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(keys[i]);
        EXPECT_EQ(window().SettingsForm()->Slider1(i)->value(), c.values[i]);
        EXPECT_EQ(live[i], c.values[i]);
        EXPECT_EQ(stored(keys[i]), QStringLiteral(" %1").arg(c.values[i]));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StoredParameters,
    ::testing::Values(
        StoredCase{"AsWritten", {" 3", " 12", " 200", " 40"}, {3, 12, 200, 40}},
        StoredCase{"TrailingLetters", {"12abc", " 7 px", "99%", " 1"}, {12, 7, 99, 1}},
        StoredCase{"FractionsToEven", {" 7.5", " 6.5", " 2.5", " 3.5"}, {8, 6, 2, 4}},
        StoredCase{"BeyondTheRanges", {" 51", " 1000", " 256", " 101"}, {50, 50, 255, 100}},
        StoredCase{"Damaged", {"abc", "", "-5", " 0"}, {1, 1, 1, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

// Drivers by index; the menu offers each one that answered, in index order.
struct DeviceCase {
    const char* name;
    std::vector<int> indexes;
};

class DeviceMenu : public AppFixture, public ::testing::WithParamInterface<DeviceCase> {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        camera_.setDriver(0, std::nullopt);
        for (int index : GetParam().indexes)
            camera_.setDriver(index, Driver("Camera " + std::to_string(index)));
    }
};

TEST_P(DeviceMenu, ShowsOneEntryForEachDriverThatAnswered) {
    const std::vector<int>& indexes = GetParam().indexes;
    start();
    ASSERT_FALSE(window().Ended());
    EXPECT_EQ(window().DeviceCount(), static_cast<int>(indexes.size()));
    QStringList expected;
    for (int index : indexes)
        expected << QStringLiteral("Camera %1").arg(index);
    EXPECT_EQ(visibleDevices(), expected);
    for (int i = 0; i < app::Vantorel::Devices; ++i) {
        QAction* entry = action(QStringLiteral("dev_%1").arg(i));
        if (std::find(indexes.begin(), indexes.end(), i) == indexes.end())
            EXPECT_TRUE(entry->text().isEmpty()) << i;
    }
    // Start-up connects to the first driver that answered.
    EXPECT_EQ(platform::findCaptureWindow(window().CaptureWnd())->driverIndex(), indexes.front());
    EXPECT_TRUE(messages_.shown().isEmpty());
}

TEST_P(DeviceMenu, EachEntryConnectsToItsOwnIndex) {
    start();
    for (int index : GetParam().indexes) {
        action(QStringLiteral("dev_%1").arg(index))->trigger();
        ASSERT_FALSE(window().Ended()) << index;
        EXPECT_EQ(platform::findCaptureWindow(window().CaptureWnd())->driverIndex(), index);
    }
    EXPECT_TRUE(messages_.shown().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Drivers, DeviceMenu,
                         ::testing::Values(DeviceCase{"One", {0}}, DeviceCase{"Three", {0, 1, 2}},
                                           DeviceCase{"Ten", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
                                           DeviceCase{"GapAtOne", {0, 2}},
                                           DeviceCase{"OnlyOne", {1}}, DeviceCase{"LastOnly", {9}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartUp, DeviceCaptionIsTheDriversName) {
    platform::SimulatedDriverConfig config = Driver("Simulated Range Camera");
    config.version = "Version 2.5";
    camera_.setDriver(0, config);
    start();
    EXPECT_EQ(visibleDevices(), QStringList{QStringLiteral("Simulated Range Camera")});
}

} // namespace
} // namespace apptest
