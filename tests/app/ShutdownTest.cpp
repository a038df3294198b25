// The ways the program ends, and that nothing runs after the end; the
// other menu items.

#include "detection/MotionDetection.h"
#include "platform/CaptureService.h"
#include "platform/CaptureWindow.h"
#include "settings/SettingsFrm.h"
#include "support/AboutFrm.h"
#include "tests/app/AppFixture.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTest>

namespace apptest {
namespace {

using Shutdown = AppFixture;
using Menus = AppFixture;

TEST_F(Shutdown, NoCaptureHardwareShowsTheMessageAndEnds) {
    camera_.setDriver(0, std::nullopt);
    start();
    EXPECT_TRUE(window().Ended());
    EXPECT_EQ(endCount(), 1);
    ASSERT_EQ(messages_.shown().size(), 1);
    const platform::MessageRequest& box = messages_.shown().front();
    EXPECT_EQ(box.text, QStringLiteral("No Capture Hardware Detected"));
    EXPECT_EQ(box.title, QStringLiteral("Quillmere Vantorel v1.58"));
    EXPECT_EQ(box.buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(box.icon, platform::MessageIcon::Information);
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(window().CaptureWnd(), 0U);
    EXPECT_EQ(window().SettingsForm(), nullptr); // nothing after the message ran
}

TEST_F(Shutdown, ExitMenuEndsTheProgramOnce) {
    start();
    const platform::CaptureHandle handle = window().CaptureWnd();
    action(QStringLiteral("ex"))->trigger();
    EXPECT_TRUE(window().Ended());
    EXPECT_EQ(endCount(), 1);
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(platform::findCaptureWindow(handle)->callback(platform::WM_CAP_SET_CALLBACK_FRAME),
              0);
    action(QStringLiteral("ex"))->trigger();
    window().close();
    EXPECT_EQ(endCount(), 1);
}

TEST_F(Shutdown, CloseControlEndsTheProgram) {
    start();
    EXPECT_TRUE(window().close());
    EXPECT_TRUE(window().Ended());
    EXPECT_EQ(endCount(), 1);
}

TEST_F(Shutdown, NoEventRunsAfterTheEnd) {
    start();
    window().Command1_Click();
    window().Timer1_Timer(); // ready, sound 1
    action(QStringLiteral("ex"))->trigger();
    const std::vector<int> before = effects();
    window().SetHole(0, 0, 10.0);
    window().Command1_Click();
    window().Timer1_Timer();
    action(QStringLiteral("stt"))->trigger();
    action(QStringLiteral("abt"))->trigger();
    action(QStringLiteral("dev_0"))->trigger();
    EXPECT_EQ(window().ShotCount(), 0);
    EXPECT_EQ(window().Timer1Interval(), 0);
    EXPECT_EQ(effects(), before);
    EXPECT_FALSE(window().SettingsForm()->isVisible());
    EXPECT_EQ(window().AboutForm(), nullptr);
    EXPECT_TRUE(messages_.shown().isEmpty());
}

TEST_F(Shutdown, PauseRunningAtTheEndNeverFinishes) {
    start();
    window().Command1_Click();
    window().close();
    QTest::qWait(1700);
    EXPECT_EQ(window().ReadyToShoot(), 0);
    EXPECT_TRUE(effects().empty());
}

TEST_F(Shutdown, StoredSettingsAreOnDiskAtTheEnd) {
    start();
    window().SettingsForm()->Slider1(2)->setValue(77);
    action(QStringLiteral("ex"))->trigger();
    QSettings file(home_.settingsFile(), QSettings::IniFormat);
    EXPECT_EQ(file.value(QStringLiteral("Settings/Tolerance")).toString(), QStringLiteral(" 77"));
}

TEST_F(Menus, SettingsShowsTheOneDialogModeless) {
    start();
    SettingsFrm* settings = window().SettingsForm();
    action(QStringLiteral("stt"))->trigger();
    EXPECT_EQ(window().SettingsForm(), settings);
    EXPECT_TRUE(settings->isVisible());
    EXPECT_FALSE(settings->isModal());
    settings->Command1_Click();
    EXPECT_FALSE(settings->isVisible());
    action(QStringLiteral("stt"))->trigger();
    EXPECT_EQ(window().SettingsForm(), settings);
    EXPECT_TRUE(settings->isVisible());
}

TEST_F(Menus, AboutShowsTheOneBox) {
    start();
    EXPECT_EQ(window().AboutForm(), nullptr);
    action(QStringLiteral("abt"))->trigger();
    AboutFrm* about = window().AboutForm();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    about->Command1_Click();
    action(QStringLiteral("abt"))->trigger();
    EXPECT_EQ(window().AboutForm(), about);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->FormLoadCount(), 1);
}

TEST_F(Menus, HelpTopicsWritesAndOpensTheHelpFile) {
    start();
    action(QStringLiteral("hlp"))->trigger();
    ASSERT_EQ(opened_.size(), 1U);
    EXPECT_TRUE(opened_.front().endsWith(QStringLiteral("Vantorel.chm")));
    EXPECT_TRUE(QFile::exists(opened_.front()));
}

} // namespace
} // namespace apptest
