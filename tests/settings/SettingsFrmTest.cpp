// The settings dialog driven headless: "Default Settings", and closing by
// the button or the title bar. (Each slider's range, from the stored text
// at start-up: tests/app/ProgramLifeTest.cpp.)

#include "settings/SettingsFrm.h"
#include "detection/MotionDetection.h"
#include "platform/SettingsStore.h"
#include "tests/testsupport/ScratchHome.h"

#include <QFile>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <array>
#include <gtest/gtest.h>

namespace {
struct Parameter {
    const char* key;
    std::int32_t max, byDefault; // every range starts at 1
    std::int32_t (*get)();
};

const std::array<Parameter, 4> Parameters{{
    {"SampleEveryNthFrame", 50, 1, MotionDetection::GetSampleEveryNthFrame},
    {"CompareEveryNthByte", 50, 5, MotionDetection::GetCompareEveryNthByte},
    {"Tolerance", 255, 50, MotionDetection::GetTolerance},
    {"MaxLaserBeam", 100, 20, MotionDetection::GetMaxLaserBeam},
}};

class SettingsDialog : public ::testing::Test {
protected:
    // The value shows on the slider, is live for the next frame and is stored.
    void expectEverywhere(int i, std::int32_t value) const {
        SCOPED_TRACE(Parameters[i].key);
        EXPECT_EQ(dialog.Slider1(i)->value(), value);
        EXPECT_EQ(Parameters[i].get(), value);
        const QString key = QLatin1String(Parameters[i].key);
        EXPECT_EQ(platform::GetSetting("Vantorel", "Settings", key, {}), QString(" %1").arg(value));
    }
    testsupport::ScratchHome home;
    SettingsFrm dialog;
};
} // namespace

TEST_F(SettingsDialog, DefaultSettingsRestoreAndStoreTheDefaultsEvenWhenNothingMoves) {
    for (int i = 0; i < 4; ++i)
        dialog.Slider1(i)->setValue(Parameters[i].max);
    dialog.Slider1_Change(-1); // indexes without a slider change nothing
    dialog.Slider1_Change(4);
    expectEverywhere(3, Parameters[3].max);
    for (int round = 0; round < 2; ++round) {
        QTest::mouseClick(dialog.Command2, Qt::LeftButton);
        for (int i = 0; i < 4; ++i)
            expectEverywhere(i, Parameters[i].byDefault);
        QFile::remove(home.settingsFile());
    }
}

TEST_F(SettingsDialog, CloseAndTitleBarCloseOnlyHide) {
    dialog.show();
    dialog.Slider1(1)->setValue(12);
    QTest::mouseClick(dialog.Command1, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    dialog.show();
    dialog.Slider1(3)->setValue(61);
    dialog.close(); // the title bar's close control
    QCoreApplication::processEvents();
    EXPECT_FALSE(dialog.isVisible());
    dialog.show();
    expectEverywhere(1, 12);
    expectEverywhere(3, 61);
}
