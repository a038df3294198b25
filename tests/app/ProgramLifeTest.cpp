// The program's life: start-up with the window as laid out, the device
// menu, the stored parameters, the capture connection with its format
// question; the menu items, the settings and About windows, and the ways
// the program ends.

#include "detection/MotionDetection.h"
#include "platform/SettingsStore.h"
#include "settings/SettingsFrm.h"
#include "support/AboutFrm.h"
#include "support/HyperLink.h"
#include "tests/app/AppFixture.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <string_view>
#include <sys/stat.h>
#include <tuple>

namespace apptest {
namespace {

using simcamera::SimulatedDriverConfig;
using StartUp = AppFixture;

// The four parameters by their stored names, and their setters' values.
const std::array<std::pair<const char*, std::int32_t (*)()>, 4> Parameters{
    {{"SampleEveryNthFrame", MotionDetection::GetSampleEveryNthFrame},
     {"CompareEveryNthByte", MotionDetection::GetCompareEveryNthByte},
     {"Tolerance", MotionDetection::GetTolerance},
     {"MaxLaserBeam", MotionDetection::GetMaxLaserBeam}}};

// Each value as its slider, its setter and the store hold it.
void expectHeld(const app::Vantorel& window, const std::array<int, 4>& values) {
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(
            std::tuple(window.SettingsForm()->Slider1(i)->value(), Parameters[i].second(),
                       platform::readSetting("Vantorel", "Settings", Parameters[i].first, {})),
            std::tuple(values[i], values[i], QStringLiteral(" %1").arg(values[i])))
            << Parameters[i].first;
}

// Start-up with a settings store and drivers: each parameter's text goes
// through its slider to its setter and is stored back (one not stored yet
// gives its default); the device menu offers each driver that answered, in
// index order, each entry connecting to its own index, and start-up
// connects to the first.
struct StartUpCase : Row {
    std::array<const char*, 4> texts;
    std::array<int, 4> values;
    std::vector<int> drivers;
};

class StartUpWith : public AppFixture, public ::testing::WithParamInterface<StartUpCase> {};

TEST_P(StartUpWith, LoadsTheParametersAndOffersEachDriver) {
    const StartUpCase& c = GetParam();
    for (int i = 0; i < 4; ++i)
        if (c.texts[i] != nullptr)
            platform::writeSetting("Vantorel", "Settings", Parameters[i].first, c.texts[i]);
    camera_.setDriver(0, std::nullopt);
    QStringList expected; // each entry shown, and the driver it connects to
    for (int index : c.drivers) {
        camera_.setDriver(index, SimulatedDriverConfig{.name = "Camera " + std::to_string(index)});
        expected << QStringLiteral("Camera %1 -> %1").arg(index);
    }
    start();
    expectHeld(window(), c.values);
    EXPECT_EQ(capture()->driverIndex(), c.drivers.front());
    QStringList shown;
    for (int i = 0; i < app::Vantorel::Devices; ++i)
        if (QAction* entry = action(QStringLiteral("dev_%1").arg(i)); entry->isVisible()) {
            entry->trigger();
            shown << QStringLiteral("%1 -> %2").arg(entry->text()).arg(capture()->driverIndex());
        }
    EXPECT_EQ(shown, expected);
    EXPECT_TRUE(messages_.shown().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartUpWith,
    ::testing::ValuesIn(std::vector<StartUpCase>{
        {{"FreshStore"}, {nullptr, nullptr, nullptr, nullptr}, {1, 1, 50, 20}, {0}},
        {{"PartlyStoredOneDriver"}, {nullptr, "12abc", nullptr, " 7.5"}, {1, 12, 50, 8}, {0}},
        {{"BeyondTheRangesWithAGap"}, {" 51", " 1000", " 256", " 101"}, {50, 50, 255, 100}, {1, 3}},
        {{"DamagedLastOnly"}, {"abc", "", "-5", " 0"}, {1, 1, 1, 1}, {9}}}),
    RowName);

// A store that cannot keep the settings: the program starts on the defaults,
// says once why (an untitled box, as for the support files), and a later
// change is live but says nothing more.
struct OddStoreCase : Row {
    const char* made; // "fifo": a FIFO for the file; "lock": a folder for its lock
    const char* said;
};

class StartUpOnOddStore : public AppFixture, public ::testing::WithParamInterface<OddStoreCase> {};

TEST_P(StartUpOnOddStore, SaysOnceWhySettingsCannotBeKept) {
    const QString ini = home_.settingsFile();
    QDir().mkpath(QFileInfo(ini).path());
    if (std::string_view(GetParam().made) == "fifo")
        ASSERT_EQ(::mkfifo(QFile::encodeName(ini).constData(), 0600), 0);
    else
        QDir().mkpath(ini + ".lock");
    start();
    ASSERT_FALSE(window().Ended());
    EXPECT_EQ(MotionDetection::GetTolerance(), 50);
    window().SettingsForm()->Slider1(2)->setValue(77);
    EXPECT_EQ(MotionDetection::GetTolerance(), 77);
    ASSERT_EQ(messages_.shown().size(), 1);
    const platform::MessageRequest& box = messages_.shown().front();
    EXPECT_TRUE(box.text.startsWith(GetParam().said) && box.title.isEmpty())
        << box.text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartUpOnOddStore,
    ::testing::Values(OddStoreCase{{"FifoForTheFile"}, "fifo", "Settings cannot be read from "},
                      OddStoreCase{{"FolderForTheLock"}, "lock", "Settings cannot be saved to "}),
    RowName);

// The hard failures of the capture set-up, and a driver delivering 320 x 240:
// the format question comes until the format is right or the user gives up.
const char* const Question = "Please Set Video Format: 160x120x24bit!   Do You Want To Continue?";

struct ConnectCase : Row {
    std::optional<bool> connectable; // empty: no driver answers
    bool hasFormatDialog;
    const char* answers; // to the format question: Y or N each
    int fixedOnVisit;    // the format dialog's visit that sets the format, 0: none
    const char* box;     // the text of every message box shown
};

class Connection : public AppFixture, public ::testing::WithParamInterface<ConnectCase> {};

TEST_P(Connection, EndsAfterItsMessageUnlessTheFormatIsPutRight) {
    const ConnectCase& c = GetParam();
    const SimulatedDriverConfig config{.hasFormatDialog = c.hasFormatDialog,
                                       .connectable = c.connectable.value_or(true),
                                       .format = {320, 240}};
    camera_.setDriver(0, c.connectable ? std::optional(config) : std::nullopt);
    int visits = 0;
    camera_.setFormatDialogAction([&](int index, simcamera::SimulatedCamera& camera) {
        if (++visits == c.fixedOnVisit)
            camera.setFormat(index, 160, 120, 24);
    });
    for (const char answer : std::string_view(c.answers))
        messages_.queueAnswer(answer == 'Y' ? platform::IDYES : platform::IDNO);
    start();
    const bool ends = c.fixedOnVisit == 0;
    EXPECT_EQ(endCount_, ends ? 1 : 0);
    EXPECT_EQ(capture() != nullptr && capture()->isPreviewing(), !ends);
    EXPECT_EQ(visits, c.fixedOnVisit);
    const bool question = c.box == Question;
    ASSERT_EQ(messages_.shown().size(), question ? std::string_view(c.answers).size() : 1);
    for (const platform::MessageRequest& box : messages_.shown())
        EXPECT_EQ(
            std::tuple(box.text, box.title, box.buttons, box.icon),
            std::tuple(QString(c.box), question ? "Set Video Format" : "Quillmere Vantorel v1.58",
                       question ? platform::MessageButtons::YesNo : platform::MessageButtons::Ok,
                       platform::MessageIcon::Information));
    // Without hardware nothing after the message runs.
    EXPECT_EQ(window().SettingsForm() == nullptr, !c.connectable.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Connection,
    ::testing::ValuesIn(std::vector<ConnectCase>{
        {{"NoDriver"}, {}, true, "", 0, "No Capture Hardware Detected"},
        {{"Refused"}, false, true, "", 0, "Could Not Connect To Capture Driver"},
        {{"YesFixedOnTheSecondVisit"}, true, true, "YY", 2, Question},
        {{"YesWithoutAFormatDialog"}, true, false, "Y", 0, Question},
        {{"No"}, true, true, "N", 0, Question}}),
    RowName);

// A start that changes nothing leaves the user's edited settings file as it
// was. The score card and the button show the display face; the card
// passes the focus on to "New Game". Format and Source are offered as the
// driver has those dialogs; they reconnect and test the format again. The
// Exit item ends the program.
TEST_F(StartUp, LeavesTheEditedStoreAloneAndReconnectsFromItsItems) {
    const QByteArray edited = "; tuned for the cellar\n[Settings]\nSampleEveryNthFrame=\" 2\"\n"
                              "CompareEveryNthByte=\" 5\" ; was 4\nTolerance=\" 50\"\n"
                              "MaxLaserBeam=\" 20\"\nNote=caf\xe9;x\n";
    ASSERT_TRUE(fixtures::writeFile(home_.settingsFile(), edited));
    QFile file(home_.settingsFile());
    const QDateTime written = QDateTime::currentDateTime().addDays(-30);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(written, QFileDevice::FileModificationTime));
    file.close();
    camera_.setDriver(0, SimulatedDriverConfig{.hasFormatDialog = false, .hasSourceDialog = false});
    camera_.setDriver(1, SimulatedDriverConfig{});
    start();
    ASSERT_FALSE(window().Ended());
    EXPECT_EQ(MotionDetection::GetSampleEveryNthFrame(), 2);
    EXPECT_EQ(QFileInfo(home_.settingsFile()).lastModified(), written);
    auto* card = window().findChild<QPlainTextEdit*>("Text1");
    auto* button = window().findChild<QPushButton*>("Command1");
    for (const QWidget* lcd : {static_cast<QWidget*>(card), static_cast<QWidget*>(button)})
        EXPECT_EQ(QFontInfo(lcd->font()).family(), QStringLiteral("LCD2"));
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    card->setFocus();
    EXPECT_EQ(QApplication::focusWidget(), button);
    EXPECT_FALSE(action("frt")->isVisible() || action("src")->isVisible());
    action("dev_1")->trigger();
    EXPECT_TRUE(action("frt")->isVisible() && action("src")->isVisible());
    // The Format item leading to a wrong format asks at once; Yes opens the
    // dialog again, which puts it right.
    int visits = 0;
    camera_.setFormatDialogAction([&](int index, simcamera::SimulatedCamera& camera) {
        camera.setFormat(index, 160, 120, ++visits == 1 ? 32 : 24);
    });
    messages_.queueAnswer(platform::IDYES);
    action("frt")->trigger();
    EXPECT_TRUE(visits == 2 && messages_.shown().size() == 1 && capture()->isPreviewing());
    // The Source dialog changing the format: that item asks too.
    camera_.setSourceDialogAction([](int index, simcamera::SimulatedCamera& camera) {
        camera.setFormat(index, 320, 240, 24);
    });
    messages_.queueAnswer(platform::IDYES);
    action("src")->trigger();
    EXPECT_TRUE(visits == 3 && messages_.shown().size() == 2 && capture()->isPreviewing());
    action("ex")->trigger();
    window().close(); // after the Exit item: still one ending
    EXPECT_TRUE(window().Ended() && endCount_ == 1);
}

// Settings and About show their one modeless window. Closing either by its
// button or the title bar only hides it, and it reopens as it was: the
// sliders where they were moved, the About box's focus on its button, the
// only control that takes it. Each left click on the About link asks again;
// "Default Settings" stores the defaults, even when nothing moves. Help
// Topics opens the help pages in the browser. Then the close control ends
// the program, once: its windows go and nothing runs after.
TEST_F(StartUp, AfterTheMenuItemsTheCloseControlEndsOnceAndNothingRunsAfter) {
    start();
    action("abt")->trigger();
    ASSERT_NE(window().AboutForm(), nullptr);
    SettingsFrm& settings = *window().SettingsForm();
    AboutFrm& about = *window().AboutForm();
    const auto child = [&about](const char* name) { return about.findChild<QWidget*>(name); };
    for (const bool byButton : {true, false}) {
        action("stt")->trigger();
        action("abt")->trigger();
        settings.Slider1(byButton ? 0 : 2)->setValue(byButton ? 50 : 255);
        settings.Slider1(byButton ? 1 : 3)->setValue(byButton ? 12 : 61);
        QTest::mouseClick(child("Label1"), Qt::LeftButton);
        QTest::mouseClick(child("Label1"), Qt::RightButton);
        if (byButton) {
            QTest::mouseClick(settings.Command1, Qt::LeftButton);
            QTest::mouseClick(child("Command1"), Qt::LeftButton);
        } else { // the title bar's close control
            settings.close();
            about.close();
        }
        QCoreApplication::processEvents();
        EXPECT_FALSE(settings.isVisible() || about.isVisible());
        action("stt")->trigger();
        action("abt")->trigger();
        EXPECT_TRUE(settings.isVisible() && !settings.isModal() && about.isVisible());
        EXPECT_EQ(about.focusWidget(), child("Command1"));
    }
    EXPECT_EQ(about.FormLoadCount(), 1);
    settings.Slider1_Change(-1); // indexes without a slider change nothing
    settings.Slider1_Change(4);
    expectHeld(window(), {50, 12, 255, 61});
    for (int round = 0; round < 2; ++round) {
        QTest::mouseClick(settings.Command2, Qt::LeftButton);
        expectHeld(window(), {1, 1, 50, 20});
        QFile::remove(home_.settingsFile());
    }
    action("hlp")->trigger();
    window().Command1_Click(); // a pause is running
    capture::CaptureWindow* const live = capture();
    EXPECT_TRUE(window().close());
    EXPECT_EQ(live->callback(capture::WM_CAP_SET_CALLBACK_FRAME), 0);
    window().Timer1_Timer();
    window().SetHole(0, 0, 10.0);
    window().Command1_Click();
    for (const char* item : {"stt", "abt", "dev_0", "hlp", "ex"})
        action(item)->trigger();
    EXPECT_TRUE(window().Ended() && !window().isVisible());
    EXPECT_FALSE(settings.isVisible() || about.isVisible());
    EXPECT_EQ(endCount_, 1);
    EXPECT_EQ(window().ShotCount() + window().Timer1Interval(), 0);
    EXPECT_EQ(opened_, (std::vector<QString>{HyperLink::WebSiteAddress, HyperLink::WebSiteAddress,
                                             home_.dataFolder() + "/Vantorel-help/Overview.htm"}));
    EXPECT_TRUE(effects_.empty() && messages_.shown().isEmpty());
}

// A larger font (or a roomier style) never cuts a button's caption: the
// buttons grow to their text and stay apart.
TEST_F(StartUp, SettingsButtonsFitTheirCaptionsInALargerFont) {
    const QFont before = QApplication::font();
    QFont larger = before;
    larger.setPointSizeF(before.pointSizeF() * 1.5);
    QApplication::setFont(larger);
    start();
    QApplication::setFont(before);
    const SettingsFrm& settings = *window().SettingsForm();
    for (const QPushButton* button : {settings.Command2, settings.Command1})
        EXPECT_LT(button->fontMetrics().horizontalAdvance(button->text()), button->width())
            << button->text().toStdString();
    EXPECT_FALSE(settings.Command2->geometry().intersects(settings.Command1->geometry()));
}

// The simulated range's command line: help, and the options it refuses.
TEST_F(StartUp, TheProgramsOptions) {
    const struct {
        QStringList arguments;
        int status;
        const char* output;
    } rows[] = {
        {{"--help"}, 0, "--record FOLDER"},
        {{"--bogus"}, 2, "vantorel-sim: unknown option '--bogus' (see --help)"},
        {{"--record-all"}, 2, "'--record-all' needs '--record FOLDER'"},
        {{"--record", home_.dataFolder() + "/history.csv/x"}, 2, "cannot record frames"},
    };
    ASSERT_TRUE(fixtures::writeFile(home_.dataFolder() + "/history.csv", {}));
    for (const auto& row : rows) {
        int status = -1;
        const QString out = run(QStringLiteral(VANTOREL_SIM_PROGRAM), row.arguments, status);
        EXPECT_TRUE(status == row.status && out.contains(row.output))
            << row.output << ": " << out.toStdString();
    }
}

} // namespace
} // namespace apptest
