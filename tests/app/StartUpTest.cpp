// Start-up: the device menu, the stored parameters, the fonts, the caption,
// the capture window and its connection with the format question.

#include "detection/MotionDetection.h"
#include "platform/CaptureService.h"
#include "platform/SettingsStore.h"
#include "settings/SettingsFrm.h"
#include "tests/app/AppFixture.h"

#include <QAction>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

namespace apptest {
namespace {

const std::array<QString, 4> Keys{"SampleEveryNthFrame", "CompareEveryNthByte", "Tolerance",
                                  "MaxLaserBeam"};

// Each parameter's slider, live value and stored text.
void expectParameters(SettingsFrm* settings, const std::array<int, 4>& values) {
    const std::array<std::int32_t, 4> live{
        MotionDetection::GetSampleEveryNthFrame(), MotionDetection::GetCompareEveryNthByte(),
        MotionDetection::GetTolerance(), MotionDetection::GetMaxLaserBeam()};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(Keys[i].toStdString());
        EXPECT_EQ(settings->Slider1(i)->value(), values[i]);
        EXPECT_EQ(live[i], values[i]);
        EXPECT_EQ(platform::GetSetting("Vantorel", "Settings", Keys[i], {}),
                  QStringLiteral(" %1").arg(values[i]));
    }
}

using StartUp = AppFixture;

TEST_F(StartUp, FreshStartSetsUpTheWindowAndPreviews) {
    start();
    ASSERT_FALSE(window().Ended());
    EXPECT_TRUE(messages_.shown().isEmpty());
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Quillmere Vantorel"));
    EXPECT_EQ(window().TargetCentreX(), 6285);
    EXPECT_EQ(window().TargetCentreY(), 3420);
    EXPECT_EQ(window().RearmDelay(), 1500);
    for (const char* name : {"Text1", "Command1"})
        EXPECT_EQ(QFontInfo(window().findChild<QWidget*>(name)->font()).family(), "LCD2");
    ASSERT_FALSE(window().SettingsForm()->isVisible());
    expectParameters(window().SettingsForm(), {1, 5, 50, 20});
    // The capture window, in pixels, connected to driver 0 and previewing.
    ASSERT_NE(capture(), nullptr);
    EXPECT_EQ(capture()->parentWidget(), window().centralWidget());
    EXPECT_EQ(capture()->geometry(), QRect(30, 28, 160, 120));
    EXPECT_EQ(capture()->driverIndex(), 0);
    EXPECT_TRUE(capture()->isPreviewing());
    EXPECT_EQ(capture()->previewPeriod(), 33);
    EXPECT_NE(capture()->callback(platform::WM_CAP_SET_CALLBACK_FRAME), 0);
    EXPECT_NE(capture()->captureParms().fYield, 0);
    EXPECT_TRUE(action("frt")->isVisible());
    EXPECT_TRUE(action("src")->isVisible());
    // The score card passes the focus on to "New Game".
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    window().findChild<QPlainTextEdit*>("Text1")->setFocus();
    EXPECT_EQ(QApplication::focusWidget(), window().findChild<QPushButton*>("Command1"));
}

struct StoredCase {
    const char* name;
    std::array<const char*, 4> texts;
    std::array<int, 4> values;
};
void PrintTo(const StoredCase& c, std::ostream* out) {
    *out << c.name;
}

class StoredParameters : public AppFixture, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(StoredParameters, PassThroughTheSlidersToTheSetters) {
    for (int i = 0; i < 4; ++i)
        platform::SaveSetting("Vantorel", "Settings", Keys[i], GetParam().texts[i]);
    start();
    ASSERT_FALSE(window().Ended());
    expectParameters(window().SettingsForm(), GetParam().values);
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

// Drivers by index; the menu offers each one that answered, in index order,
// and start-up connects to the first.
struct DeviceCase {
    const char* name;
    std::vector<int> indexes;
};
void PrintTo(const DeviceCase& c, std::ostream* out) {
    *out << c.name;
}

class DeviceMenu : public AppFixture, public ::testing::WithParamInterface<DeviceCase> {};

TEST_P(DeviceMenu, ShowsEachDriverThatAnsweredAndConnectsToItsIndex) {
    camera_.setDriver(0, std::nullopt);
    QStringList expected;
    for (int index : GetParam().indexes) {
        camera_.setDriver(index, Driver("Camera " + std::to_string(index)));
        expected << QStringLiteral("Camera %1").arg(index);
    }
    start();
    ASSERT_FALSE(window().Ended());
    EXPECT_EQ(window().DeviceCount(), expected.size());
    EXPECT_EQ(capture()->driverIndex(), GetParam().indexes.front());
    QStringList shown;
    for (int i = 0; i < app::Vantorel::Devices; ++i)
        if (action(QStringLiteral("dev_%1").arg(i))->isVisible())
            shown << action(QStringLiteral("dev_%1").arg(i))->text();
    EXPECT_EQ(shown, expected);
    for (int index : GetParam().indexes) {
        action(QStringLiteral("dev_%1").arg(index))->trigger();
        EXPECT_EQ(capture()->driverIndex(), index);
    }
    EXPECT_TRUE(messages_.shown().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Drivers, DeviceMenu,
                         ::testing::Values(DeviceCase{"One", {0}}, DeviceCase{"Three", {0, 1, 2}},
                                           DeviceCase{"Ten", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
                                           DeviceCase{"GapAtOne", {0, 2}},
                                           DeviceCase{"OnlyOne", {1}}, DeviceCase{"LastOnly", {9}}),
                         [](const auto& info) { return std::string(info.param.name); });

// The hard failures of the capture set-up, and a driver delivering 320 x 240:
// the format question comes until the format is right or the user gives up.
const char* const Question = "Please Set Video Format: 160x120x24bit!   Do You Want To Continue?";

struct ConnectCase {
    const char* name;
    std::optional<bool> connectable; // empty: no driver answers
    bool hasFormatDialog;
    std::vector<int> answers; // to the format question
    int fixedOnVisit;         // the format dialog's visit that sets the format, 0: none
    const char* box;          // the text of every message box shown
};
void PrintTo(const ConnectCase& c, std::ostream* out) {
    *out << c.name;
}

class Connection : public AppFixture, public ::testing::WithParamInterface<ConnectCase> {};

TEST_P(Connection, EndsAfterItsMessageUnlessTheFormatIsPutRight) {
    const ConnectCase& c = GetParam();
    platform::SimulatedDriverConfig config;
    config.connectable = c.connectable.value_or(true);
    config.width = 320;
    config.height = 240;
    config.hasFormatDialog = c.hasFormatDialog;
    camera_.setDriver(0, c.connectable ? std::optional(config) : std::nullopt);
    int visits = 0;
    camera_.setFormatDialogAction([&](int index, platform::SimulatedCamera& camera) {
        if (++visits == c.fixedOnVisit)
            camera.setFormat(index, 160, 120, 24);
    });
    for (int answer : c.answers)
        messages_.queueAnswer(answer);
    start();
    const bool ends = c.fixedOnVisit == 0;
    EXPECT_EQ(window().Ended(), ends);
    EXPECT_EQ(endCount(), ends ? 1 : 0);
    EXPECT_EQ(window().isVisible(), !ends);
    EXPECT_EQ(capture() != nullptr && capture()->isPreviewing(), !ends);
    EXPECT_EQ(visits, c.fixedOnVisit);
    const bool question = !c.answers.empty();
    ASSERT_EQ(messages_.shown().size(), question ? std::ssize(c.answers) : 1);
    for (const platform::MessageRequest& box : messages_.shown()) {
        EXPECT_EQ(box.text, QString::fromLatin1(c.box));
        EXPECT_EQ(box.title, question ? "Set Video Format" : "Quillmere Vantorel v1.58");
        EXPECT_EQ(box.buttons,
                  question ? platform::MessageButtons::YesNo : platform::MessageButtons::Ok);
        EXPECT_EQ(box.icon, platform::MessageIcon::Information);
    }
    // Without hardware nothing after the message runs.
    EXPECT_EQ(window().SettingsForm() == nullptr, !c.connectable.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Connection,
    ::testing::Values(
        ConnectCase{"NoDriver", std::nullopt, true, {}, 0, "No Capture Hardware Detected"},
        ConnectCase{"Refused", false, true, {}, 0, "Could Not Connect To Capture Driver"},
        ConnectCase{"YesFixedOnTheSecondVisit",
                    true,
                    true,
                    {platform::IDYES, platform::IDYES},
                    2,
                    Question},
        ConnectCase{"YesWithoutAFormatDialog", true, false, {platform::IDYES}, 0, Question},
        ConnectCase{"No", true, true, {platform::IDNO}, 0, Question}),
    [](const auto& info) { return std::string(info.param.name); });

// Format and Source are offered as the driver has those dialogs; they and
// the device entries reconnect and test the format again.
TEST_F(StartUp, FormatSourceAndDeviceItemsReconnect) {
    platform::SimulatedDriverConfig plain = Driver("Plain");
    plain.hasFormatDialog = false;
    plain.hasSourceDialog = false;
    camera_.setDriver(0, plain);
    platform::SimulatedDriverConfig sourceOnly = Driver("Source only");
    sourceOnly.hasFormatDialog = false;
    camera_.setDriver(1, sourceOnly);
    camera_.setDriver(2, Driver("Both"));
    start();
    EXPECT_FALSE(action("frt")->isVisible() || action("src")->isVisible());
    action("dev_1")->trigger();
    EXPECT_FALSE(action("frt")->isVisible());
    EXPECT_TRUE(action("src")->isVisible());
    int sourceVisits = 0;
    camera_.setSourceDialogAction([&](int, platform::SimulatedCamera&) { ++sourceVisits; });
    action("src")->trigger();
    EXPECT_EQ(sourceVisits, 1);
    EXPECT_TRUE(capture()->isPreviewing());
    // A format changed behind the program's back, put right in the dialog.
    camera_.setFormat(2, 160, 120, 32);
    camera_.setFormatDialogAction([](int index, platform::SimulatedCamera& camera) {
        camera.setFormat(index, 160, 120, 24);
    });
    messages_.queueAnswer(platform::IDYES);
    action("dev_2")->trigger();
    EXPECT_EQ(messages_.shown().size(), 1);
    EXPECT_TRUE(capture()->isPreviewing() && action("frt")->isVisible());
    // The Format item leading to a wrong format asks at once.
    camera_.setFormatDialogAction([](int index, platform::SimulatedCamera& camera) {
        camera.setFormat(index, 320, 240, 24);
    });
    action("frt")->trigger();
    EXPECT_EQ(messages_.shown().size(), 2);
    EXPECT_TRUE(window().Ended());
}

} // namespace
} // namespace apptest
