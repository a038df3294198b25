// Connecting the capture window: the format question, the preview, the
// menu items that follow the driver's dialogs, and reconnecting.

#include "platform/CaptureService.h"
#include "platform/CaptureWindow.h"
#include "tests/app/AppFixture.h"

#include <QAction>

namespace apptest {
namespace {

const QString FormatQuestion =
    QStringLiteral("Please Set Video Format: 160x120x24bit!   Do You Want To Continue?");

class Connection : public AppFixture {
protected:
    platform::CaptureWindow* capture() {
        return platform::findCaptureWindow(window().CaptureWnd());
    }
    void startWithWrongFormat(bool hasFormatDialog) {
        platform::SimulatedDriverConfig config;
        config.width = 320;
        config.height = 240;
        config.hasFormatDialog = hasFormatDialog;
        camera_.setDriver(0, config);
    }
    int questions() const {
        int count = 0;
        for (const auto& request : messages_.shown())
            if (request.text == FormatQuestion)
                ++count;
        return count;
    }
};

TEST_F(Connection, RightFormatStartsThePreviewWithoutAQuestion) {
    start();
    ASSERT_FALSE(window().Ended());
    EXPECT_TRUE(messages_.shown().isEmpty());
    EXPECT_TRUE(capture()->isPreviewing());
    EXPECT_EQ(capture()->previewPeriod(), 33);
    EXPECT_NE(capture()->callback(platform::WM_CAP_SET_CALLBACK_FRAME), 0);
    EXPECT_TRUE(capture()->captureParms().fYield != 0);
    EXPECT_TRUE(action(QStringLiteral("frt"))->isVisible());
    EXPECT_TRUE(action(QStringLiteral("src"))->isVisible());
    EXPECT_TRUE(window().isVisible());
}

TEST_F(Connection, FormatQuestionAnsweredYesUntilTheFormatIsRight) {
    startWithWrongFormat(true);
    int dialogs = 0;
    camera_.setFormatDialogAction([&dialogs](int index, platform::SimulatedCamera& camera) {
        // The first visit changes nothing; the second sets the format.
        if (++dialogs == 2)
            camera.setFormat(index, 160, 120, 24);
    });
    messages_.queueAnswer(platform::IDYES);
    messages_.queueAnswer(platform::IDYES);
    start();
    ASSERT_FALSE(window().Ended());
    EXPECT_EQ(dialogs, 2);
    ASSERT_EQ(messages_.shown().size(), 2);
    const platform::MessageRequest& question = messages_.shown().front();
    EXPECT_EQ(question.text, FormatQuestion);
    EXPECT_EQ(question.title, QStringLiteral("Set Video Format"));
    EXPECT_EQ(question.buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(question.icon, platform::MessageIcon::Information);
    EXPECT_TRUE(capture()->isPreviewing());
    EXPECT_EQ(endCount(), 0);
}

TEST_F(Connection, FormatQuestionAnsweredNoEndsTheProgram) {
    startWithWrongFormat(true);
    messages_.queueAnswer(platform::IDNO);
    start();
    EXPECT_TRUE(window().Ended());
    EXPECT_EQ(endCount(), 1);
    EXPECT_EQ(questions(), 1);
    EXPECT_FALSE(window().isVisible());
    EXPECT_FALSE(capture()->isPreviewing());
}

TEST_F(Connection, YesWithoutAFormatDialogEndsTheProgram) {
    startWithWrongFormat(false);
    messages_.queueAnswer(platform::IDYES);
    start();
    EXPECT_TRUE(window().Ended());
    EXPECT_EQ(endCount(), 1);
    EXPECT_EQ(questions(), 1);
}

TEST_F(Connection, DriverThatCannotConnectEndsTheProgram) {
    platform::SimulatedDriverConfig config;
    config.connectable = false;
    camera_.setDriver(0, config);
    start();
    EXPECT_TRUE(window().Ended());
    EXPECT_EQ(endCount(), 1);
    ASSERT_EQ(messages_.shown().size(), 1);
    const platform::MessageRequest& box = messages_.shown().front();
    EXPECT_EQ(box.text, QStringLiteral("Could Not Connect To Capture Driver"));
    EXPECT_EQ(box.title, QStringLiteral("Quillmere Vantorel v1.58"));
    EXPECT_EQ(box.buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(box.icon, platform::MessageIcon::Information);
    EXPECT_FALSE(window().isVisible());
}

TEST_F(Connection, FormatAndSourceItemsFollowTheDriversDialogs) {
    platform::SimulatedDriverConfig plain = Driver("Plain");
    plain.hasFormatDialog = false;
    plain.hasSourceDialog = false;
    camera_.setDriver(0, plain);
    platform::SimulatedDriverConfig sourceOnly = Driver("Source only");
    sourceOnly.hasFormatDialog = false;
    camera_.setDriver(1, sourceOnly);
    camera_.setDriver(2, Driver("Both"));
    start();
    EXPECT_FALSE(action(QStringLiteral("frt"))->isVisible());
    EXPECT_FALSE(action(QStringLiteral("src"))->isVisible());
    action(QStringLiteral("dev_1"))->trigger();
    EXPECT_FALSE(action(QStringLiteral("frt"))->isVisible());
    EXPECT_TRUE(action(QStringLiteral("src"))->isVisible());
    action(QStringLiteral("dev_2"))->trigger();
    EXPECT_TRUE(action(QStringLiteral("frt"))->isVisible());
    EXPECT_TRUE(action(QStringLiteral("src"))->isVisible());
}

TEST_F(Connection, FormatItemLeadingToAWrongFormatAsksAtOnce) {
    start();
    camera_.setFormatDialogAction([](int index, platform::SimulatedCamera& camera) {
        camera.setFormat(index, 320, 240, 24);
    });
    messages_.queueAnswer(platform::IDNO);
    action(QStringLiteral("frt"))->trigger();
    EXPECT_EQ(questions(), 1);
    EXPECT_TRUE(window().Ended());
}

TEST_F(Connection, SourceItemReconnectsAndTestsTheFormatAgain) {
    start();
    int sourceDialogs = 0;
    camera_.setSourceDialogAction(
        [&sourceDialogs](int, platform::SimulatedCamera&) { ++sourceDialogs; });
    action(QStringLiteral("src"))->trigger();
    EXPECT_EQ(sourceDialogs, 1);
    EXPECT_FALSE(window().Ended());
    EXPECT_TRUE(capture()->isPreviewing());
    // The format changed behind the program's back: the same device entry
    // finds it on reconnecting.
    camera_.setFormat(0, 160, 120, 32);
    messages_.queueAnswer(platform::IDNO);
    action(QStringLiteral("dev_0"))->trigger();
    EXPECT_EQ(questions(), 1);
    EXPECT_TRUE(window().Ended());
}

} // namespace
} // namespace apptest
