// The settings dialog driven headless: closing by the button or the title
// bar, and "Default Settings". (Each slider's range, from the stored text at
// start-up: tests/app/ProgramLifeTest.cpp.)

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
    std::int32_t (*get)();
};

const std::array<Parameter, 4> Parameters{{
    {"SampleEveryNthFrame", MotionDetection::GetSampleEveryNthFrame},
    {"CompareEveryNthByte", MotionDetection::GetCompareEveryNthByte},
    {"Tolerance", MotionDetection::GetTolerance},
    {"MaxLaserBeam", MotionDetection::GetMaxLaserBeam},
}};

// Each value shows on its slider, is live for the next frame and is stored.
void expectEverywhere(const SettingsFrm& dialog, const std::array<std::int32_t, 4>& values) {
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(Parameters[i].key);
        EXPECT_EQ(dialog.Slider1(i)->value(), values[i]);
        EXPECT_EQ(Parameters[i].get(), values[i]);
        EXPECT_EQ(platform::GetSetting("Vantorel", "Settings", Parameters[i].key, {}),
                  QString(" %1").arg(values[i]));
    }
}
} // namespace

// Every slider moved away from its default, half before each way of closing.
TEST(SettingsDialog, ClosingOnlyHidesAndDefaultsAreStoredEvenWhenNothingMoves) {
    const testsupport::ScratchHome home;
    SettingsFrm dialog;
    dialog.show();
    dialog.Slider1(0)->setValue(50);
    dialog.Slider1(1)->setValue(12);
    QTest::mouseClick(dialog.Command1, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    dialog.show();
    dialog.Slider1(2)->setValue(255);
    dialog.Slider1(3)->setValue(61);
    dialog.close(); // the title bar's close control
    QCoreApplication::processEvents();
    EXPECT_FALSE(dialog.isVisible());
    dialog.show();
    dialog.Slider1_Change(-1); // indexes without a slider change nothing
    dialog.Slider1_Change(4);
    expectEverywhere(dialog, {50, 12, 255, 61});
    for (int round = 0; round < 2; ++round) {
        QTest::mouseClick(dialog.Command2, Qt::LeftButton);
        expectEverywhere(dialog, {1, 5, 50, 20});
        QFile::remove(home.settingsFile());
    }
}
