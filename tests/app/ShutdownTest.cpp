// The ways the program ends, and that nothing runs after the end; the
// other menu items.

#include "platform/CaptureService.h"
#include "settings/SettingsFrm.h"
#include "support/AboutFrm.h"
#include "tests/app/AppFixture.h"

#include <QAction>
#include <QFile>
#include <QSettings>
#include <QSlider>

namespace apptest {
namespace {

class Ending : public AppFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(Ending, UnloadsOnceAndNothingRunsAfter) {
    start();
    window().SettingsForm()->Slider1(2)->setValue(77);
    window().Command1_Click(); // a pause is running
    const platform::CaptureHandle handle = window().CaptureWnd();
    if (GetParam())
        action("ex")->trigger();
    else
        EXPECT_TRUE(window().close());
    EXPECT_TRUE(window().Ended());
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(window().Timer1Interval(), 0);
    EXPECT_EQ(platform::findCaptureWindow(handle)->callback(platform::WM_CAP_SET_CALLBACK_FRAME),
              0);
    // The stored settings are on disk.
    QSettings file(home_.settingsFile(), QSettings::IniFormat);
    EXPECT_EQ(file.value("Settings/Tolerance").toString(), QStringLiteral(" 77"));
    window().Timer1_Timer();
    window().SetHole(0, 0, 10.0);
    window().Command1_Click();
    for (const char* item : {"stt", "abt", "dev_0", "hlp", "ex"})
        action(item)->trigger();
    window().close();
    EXPECT_EQ(endCount(), 1);
    EXPECT_EQ(window().ShotCount(), 0);
    EXPECT_EQ(window().Timer1Interval(), 0);
    EXPECT_TRUE(effects().empty());
    EXPECT_FALSE(window().SettingsForm()->isVisible());
    EXPECT_EQ(window().AboutForm(), nullptr);
    EXPECT_TRUE(opened_.empty());
    EXPECT_TRUE(messages_.shown().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Paths, Ending, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "ExitMenu" : "CloseControl"; });

using Menus = AppFixture;

// Settings and About show their one modeless window again after "Close";
// Help Topics writes the help file and opens it.
TEST_F(Menus, ShowTheOneSettingsDialogAboutBoxAndHelp) {
    start();
    SettingsFrm* settings = window().SettingsForm();
    for (int round = 0; round < 2; ++round) {
        action("stt")->trigger();
        action("abt")->trigger();
        EXPECT_EQ(window().SettingsForm(), settings);
        EXPECT_TRUE(settings->isVisible());
        EXPECT_FALSE(settings->isModal());
        ASSERT_NE(window().AboutForm(), nullptr);
        EXPECT_TRUE(window().AboutForm()->isVisible());
        EXPECT_EQ(window().AboutForm()->FormLoadCount(), 1);
        settings->Command1_Click();
        window().AboutForm()->Command1_Click();
        EXPECT_FALSE(settings->isVisible() || window().AboutForm()->isVisible());
    }
    action("hlp")->trigger();
    ASSERT_EQ(opened_.size(), 1U);
    EXPECT_TRUE(opened_.front().endsWith("Vantorel.chm"));
    EXPECT_TRUE(QFile::exists(opened_.front()));
}

} // namespace
} // namespace apptest
