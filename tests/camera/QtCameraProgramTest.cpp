// The program with the real-camera backend: no camera at all, and a camera
// that connects in the program's format at once.

#include "SyntheticCameraSource.h"
#include "SyntheticFrames.h"
#include "app/Vantorel.h"
#include "platform/CaptureService.h"
#include "platform/CaptureWindow.h"
#include "platform/ProgramEnd.h"
#include "platform/QtCameraSource.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ScratchHome.h"

#include <QAction>
#include <QApplication>
#include <gtest/gtest.h>

namespace {

class CameraProgram : public ::testing::Test {
protected:
    void SetUp() override {
        QApplication::setQuitOnLastWindowClosed(false);
        platform::resetProgramEnded();
        platform::setEndHandler([this] { ++ends; });
    }
    void TearDown() override {
        window.reset();
        platform::installCaptureDriverSource(nullptr);
        platform::setEndHandler({});
        platform::resetProgramEnded();
    }

    testsupport::ScratchHome home;
    testsupport::MessageRecorder messages;
    std::unique_ptr<app::Vantorel> window;
    int ends = 0;
};

} // namespace

TEST_F(CameraProgram, NoCameraSaysNoCaptureHardwareAndEnds) {
    platform::QtCameraSource cameras{QList<QCameraDevice>{}};
    platform::installCaptureDriverSource(&cameras);
    window = std::make_unique<app::Vantorel>();
    window->Form_Load();
    EXPECT_TRUE(window->Ended());
    EXPECT_EQ(ends, 1);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().front().text, QStringLiteral("No Capture Hardware Detected"));
    EXPECT_EQ(messages.shown().front().title, QStringLiteral("Quillmere Vantorel v1.58"));
    EXPECT_EQ(window->CaptureWnd(), 0U);
}

TEST_F(CameraProgram, CameraPreviewsInTheProgramsFormatWithoutAQuestion) {
    cameratest::SyntheticCameraSource cameras;
    platform::installCaptureDriverSource(&cameras);
    window = std::make_unique<app::Vantorel>();
    window->Form_Load();
    ASSERT_FALSE(window->Ended());
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_TRUE(window->findChild<QAction*>(QStringLiteral("frt"))->isVisible());
    EXPECT_TRUE(window->findChild<QAction*>(QStringLiteral("src"))->isVisible());

    platform::CaptureWindow* capture = platform::findCaptureWindow(window->CaptureWnd());
    ASSERT_NE(capture, nullptr);
    EXPECT_TRUE(capture->isPreviewing());
    {
        const platform::CaptureWindow::ImmediateDelivery now;
        cameras.latest->deliver(cameratest::makeFrame(
            QVideoFrameFormat::Format_NV12, QSize(640, 480),
            [](int, int) { return QColor(40, 40, 40); }, 0));
    }
    EXPECT_EQ(capture->deliveredFrames(), 1U);
    // The aiming cross is drawn into the frame before it is shown.
    const QImage shown = capture->shownImage();
    ASSERT_FALSE(shown.isNull());
    EXPECT_GT(qGray(shown.pixel(80, 60)), 200);
}
