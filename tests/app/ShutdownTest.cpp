// The ways the program ends, and that nothing runs after the end; the
// other menu items.

#include "platform/CaptureService.h"
#include "settings/SettingsFrm.h"
#include "support/AboutFrm.h"
#include "tests/app/AppFixture.h"

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
    platform::CaptureWindow* const live = capture();
    if (GetParam())
        action("ex")->trigger();
    else
        EXPECT_TRUE(window().close());
    EXPECT_EQ(live->callback(platform::WM_CAP_SET_CALLBACK_FRAME), 0);
    EXPECT_EQ(QSettings(home_.settingsFile(), QSettings::IniFormat).value("Settings/Tolerance"),
              QStringLiteral(" 77"));
    window().Timer1_Timer();
    window().SetHole(0, 0, 10.0);
    window().Command1_Click();
    for (const char* item : {"stt", "abt", "dev_0", "hlp", "ex"})
        action(item)->trigger();
    window().close();
    EXPECT_TRUE(window().Ended() && !window().isVisible());
    EXPECT_EQ(endCount_, 1);
    EXPECT_EQ(window().ShotCount() + window().Timer1Interval(), 0);
    EXPECT_TRUE(effects_.empty() && opened_.empty() && messages_.shown().isEmpty());
    EXPECT_FALSE(window().SettingsForm()->isVisible());
    EXPECT_EQ(window().AboutForm(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Paths, Ending, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "ExitMenu" : "CloseControl"; });

// Settings and About show their one modeless window again after "Close";
// Help Topics writes the help file and opens it.
using Menus = AppFixture;

TEST_F(Menus, ShowTheirOneWindowsAndTheHelpFile) {
    start();
    for (int round = 0; round < 2; ++round) {
        action("stt")->trigger();
        action("abt")->trigger();
        ASSERT_NE(window().AboutForm(), nullptr);
        EXPECT_TRUE(window().SettingsForm()->isVisible() && window().AboutForm()->isVisible());
        EXPECT_FALSE(window().SettingsForm()->isModal());
        EXPECT_EQ(window().AboutForm()->FormLoadCount(), 1);
        window().SettingsForm()->Command1_Click();
        window().AboutForm()->Command1_Click();
    }
    action("hlp")->trigger();
    ASSERT_EQ(opened_.size(), 1U);
    EXPECT_TRUE(opened_.front().endsWith("Vantorel.chm") && QFile::exists(opened_.front()));
    EXPECT_FALSE(window().Ended());
}

} // namespace
} // namespace apptest
