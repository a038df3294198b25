// The settings dialog driven headless: its look, sliders to both ends by
// keyboard and by code, "Default Settings", closing and reopening.

#include "settings/SettingsFrm.h"
#include "detection/MotionDetection.h"
#include "platform/SettingsStore.h"
#include "tests/support/ScratchHome.h"

#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <array>
#include <gtest/gtest.h>
#include <memory>

namespace {
struct Parameter {
    const char* key;
    std::int32_t min;
    std::int32_t max;
    std::int32_t (*get)();
};

const std::array<Parameter, 4> Parameters{{
    {"SampleEveryNthFrame", 1, 50, MotionDetection::GetSampleEveryNthFrame},
    {"CompareEveryNthByte", 1, 50, MotionDetection::GetCompareEveryNthByte},
    {"Tolerance", 1, 255, MotionDetection::GetTolerance},
    {"MaxLaserBeam", 1, 100, MotionDetection::GetMaxLaserBeam},
}};

QString stored(const char* key) {
    return platform::GetSetting(QStringLiteral("Vantorel"), QStringLiteral("Settings"),
                                QLatin1String(key), QStringLiteral("(absent)"));
}

class SettingsDialog : public ::testing::Test {
protected:
    QSlider* slider(int i) const { return dialog->Slider1(i); }
    template <typename T> T* child(const QString& name) const {
        return dialog->findChild<T*>(name);
    }
    void expectEverywhere(int i, std::int32_t value) {
        EXPECT_EQ(slider(i)->value(), value) << "slider " << i;
        EXPECT_EQ(Parameters[i].get(), value) << Parameters[i].key;
        EXPECT_EQ(stored(Parameters[i].key), QStringLiteral(" %1").arg(value)) << Parameters[i].key;
    }

    testsupport::ScratchHome home;
    std::unique_ptr<SettingsFrm> dialog = std::make_unique<SettingsFrm>();
};

class SettingsSlider : public SettingsDialog, public ::testing::WithParamInterface<int> {};
} // namespace

TEST_F(SettingsDialog, IsCreatedHiddenWithItsCaptionAndSize) {
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Settings"));
    EXPECT_EQ(dialog->size(), QSize(331, 270));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_TRUE(dialog->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(dialog->windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(dialog->windowIcon().isNull());
}

TEST_F(SettingsDialog, LabelsCarryTheirCaptionsAndTooltips) {
    const std::array<std::pair<const char*, const char*>, 4> expected{{
        {"Sample Every N-th Frame", "Compares each frame with the frame that comes after N "
                                    "frames (if N=5 then compared frames are 5,10,15,20,...)"},
        {"Compare Every N-th Byte", "Compares only one pixel from NxN square"},
        {"Tolerance", "Determines a desired difference between pixel before and after shot in "
                      "order to be graded as changed pixel"},
        {"Maximal Laser Beam Diameter", "Determines a maximal laser beam diameter, so that beams "
                                        "with  larger diameter will not be accepted"},
    }};
    for (int i = 0; i < 4; ++i) {
        const QLabel* label = child<QLabel>(QStringLiteral("Label1_%1").arg(i));
        ASSERT_NE(label, nullptr) << i;
        EXPECT_EQ(label->text(), QLatin1String(expected[i].first));
        EXPECT_EQ(label->toolTip(), QLatin1String(expected[i].second));
        EXPECT_TRUE(label->alignment() & Qt::AlignHCenter);
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
        EXPECT_TRUE(slider(i)->toolTip().isEmpty());
    }
    EXPECT_EQ(child<QPushButton>(QStringLiteral("Command2"))->text(),
              QStringLiteral("Default Settings"));
    EXPECT_EQ(child<QPushButton>(QStringLiteral("Command1"))->text(), QStringLiteral("Close"));
}

TEST_F(SettingsDialog, ControlsStandWhereDesigned) {
    EXPECT_EQ(child<QGroupBox>(QStringLiteral("Frame1"))->geometry(), QRect(4, 0, 323, 203));
    EXPECT_EQ(child<QGroupBox>(QStringLiteral("Frame2"))->geometry(), QRect(4, 210, 323, 56));
    EXPECT_TRUE(child<QGroupBox>(QStringLiteral("Frame1"))->title().isEmpty());
    const std::array<int, 4> labelTops{17, 66, 113, 161};
    const std::array<int, 4> sliderTops{34, 82, 130, 178};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(dialog->Label1(i)->geometry(), QRect(8, labelTops[i], 305, 15));
        EXPECT_EQ(slider(i)->geometry(), QRect(20, sliderTops[i], 279, 13));
    }
    EXPECT_EQ(child<QPushButton>(QStringLiteral("Command2"))->geometry(), QRect(24, 19, 97, 25));
    EXPECT_EQ(child<QPushButton>(QStringLiteral("Command1"))->geometry(), QRect(198, 19, 97, 25));
}

TEST_F(SettingsDialog, KeyboardVisitsSlidersThenDefaultsThenClose) {
    QStringList order;
    QWidget* w = slider(0);
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != slider(0));
    EXPECT_EQ(order, (QStringList{"Slider1_0", "Slider1_1", "Slider1_2", "Slider1_3", "Command2",
                                  "Command1"}));
}

TEST_P(SettingsSlider, HasItsRangeAndSteps) {
    const int i = GetParam();
    EXPECT_EQ(slider(i)->objectName(), QStringLiteral("Slider1_%1").arg(i));
    EXPECT_EQ(slider(i)->orientation(), Qt::Horizontal);
    EXPECT_EQ(slider(i)->minimum(), Parameters[i].min);
    EXPECT_EQ(slider(i)->maximum(), Parameters[i].max);
    EXPECT_EQ(slider(i)->singleStep(), 1);
    EXPECT_EQ(slider(i)->pageStep(), 5);
    EXPECT_EQ(slider(i)->tickPosition(), QSlider::NoTicks);
}

TEST_P(SettingsSlider, EndKeysReachBothEndsAndSetTheParameter) {
    const int i = GetParam();
    QTest::keyClick(slider(i), Qt::Key_End);
    expectEverywhere(i, Parameters[i].max);
    QTest::keyClick(slider(i), Qt::Key_Home);
    expectEverywhere(i, Parameters[i].min);
    QTest::keyClick(slider(i), Qt::Key_Right);
    expectEverywhere(i, Parameters[i].min + 1);
    QTest::keyClick(slider(i), Qt::Key_PageUp);
    expectEverywhere(i, Parameters[i].min + 6);
}

TEST_P(SettingsSlider, ValuesWrittenByCodeAreHeldToTheRange) {
    const int i = GetParam();
    slider(i)->setValue(Parameters[i].max + 100);
    expectEverywhere(i, Parameters[i].max);
    slider(i)->setValue(0);
    expectEverywhere(i, Parameters[i].min);
    slider(i)->setValue(-7);
    expectEverywhere(i, Parameters[i].min);
}

INSTANTIATE_TEST_SUITE_P(EachParameter, SettingsSlider, ::testing::Range(0, 4));

TEST_F(SettingsDialog, ToleranceAtItsRightEndIsStoredAs255) {
    QTest::keyClick(slider(2), Qt::Key_End);
    EXPECT_EQ(MotionDetection::GetTolerance(), 255);
    EXPECT_EQ(stored("Tolerance"), QStringLiteral(" 255"));
}

TEST_F(SettingsDialog, DefaultSettingsRestoreTheFourDefaults) {
    const std::array<int, 4> moved{37, 2, 200, 99};
    for (int i = 0; i < 4; ++i)
        slider(i)->setValue(moved[i]);
    QTest::mouseClick(child<QPushButton>(QStringLiteral("Command2")), Qt::LeftButton);
    const std::array<int, 4> defaults{1, 5, 50, 20};
    for (int i = 0; i < 4; ++i)
        expectEverywhere(i, defaults[i]);
}

TEST_F(SettingsDialog, DefaultSettingsWriteTheStoreEvenWhenNothingMoves) {
    dialog->Command2_Click();
    QFile::remove(home.settingsFile());
    ASSERT_EQ(stored("Tolerance"), QStringLiteral("(absent)"));
    dialog->Command2_Click();
    EXPECT_EQ(stored("SampleEveryNthFrame"), QStringLiteral(" 1"));
    EXPECT_EQ(stored("CompareEveryNthByte"), QStringLiteral(" 5"));
    EXPECT_EQ(stored("Tolerance"), QStringLiteral(" 50"));
    EXPECT_EQ(stored("MaxLaserBeam"), QStringLiteral(" 20"));
}

TEST_F(SettingsDialog, ChangeOfAnUnknownIndexDoesNothing) {
    dialog->Command2_Click();
    slider(2)->blockSignals(true);
    slider(2)->setValue(99);
    slider(2)->blockSignals(false);
    dialog->Slider1_Change(4);
    dialog->Slider1_Change(-1);
    EXPECT_EQ(MotionDetection::GetTolerance(), 50);
    dialog->Slider1_Change(2);
    EXPECT_EQ(MotionDetection::GetTolerance(), 99);
}

TEST_F(SettingsDialog, CloseHidesAndReopensWithTheSlidersWhereTheyWere) {
    dialog->show();
    const std::array<int, 4> moved{3, 7, 128, 44};
    for (int i = 0; i < 4; ++i)
        slider(i)->setValue(moved[i]);
    QTest::mouseClick(child<QPushButton>(QStringLiteral("Command1")), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    dialog->show();
    for (int i = 0; i < 4; ++i)
        expectEverywhere(i, moved[i]);
}

// The title bar's close control hides the dialog like "Close", so the
// sliders keep agreeing with the live parameters.
TEST_F(SettingsDialog, TitleBarCloseHidesAndKeepsTheSliders) {
    dialog->show();
    slider(1)->setValue(12);
    slider(3)->setValue(61);
    const QPointer<SettingsFrm> watch(dialog.get());
    dialog->close();
    QCoreApplication::processEvents();
    ASSERT_FALSE(watch.isNull());
    EXPECT_FALSE(dialog->isVisible());
    dialog->show();
    expectEverywhere(1, 12);
    expectEverywhere(3, 61);
}
