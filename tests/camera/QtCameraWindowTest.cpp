// A real-camera driver behind a capture window: frames reach the frame
// routine, a camera that stops delivering shows "No signal" and delivers
// nothing, and connecting to the device again brings the picture back.

#include "SyntheticCameraSource.h"
#include "SyntheticFeed.h"
#include "SyntheticFrames.h"
#include "platform/CaptureService.h"
#include "platform/CaptureWindow.h"
#include "platform/QtCameraDriver.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using cameratest::makeFrame;
using cameratest::SyntheticCameraSource;
using cameratest::SyntheticFeed;
using namespace platform;

namespace {

int framesSeen = 0;

std::int32_t countFrames(CaptureHandle, VIDEOHDR* header) {
    if (header && header->dwBytesUsed == 57600)
        ++framesSeen;
    return 0;
}

class CameraWindow : public ::testing::Test {
protected:
    void SetUp() override {
        framesSeen = 0;
        installCaptureDriverSource(&source);
        parent.resize(320, 240);
        handle = capCreateCaptureWindow("", WS_CHILD | WS_VISIBLE, 0, 0, 160, 120, &parent, 0);
        ASSERT_NE(handle, 0U);
        connectAndPreview();
    }
    void TearDown() override {
        // NOLINTNEXTLINE(cppcoreguidelines-owning-memory): the parent would delete it later
        delete findCaptureWindow(handle);
        installCaptureDriverSource(nullptr);
    }

    void connectAndPreview() {
        ASSERT_NE(SendCaptureMessage(handle, WM_CAP_DRIVER_CONNECT, 0, 0), 0);
        SendCaptureMessage(handle, WM_CAP_SET_CALLBACK_FRAME, 0,
                           reinterpret_cast<std::intptr_t>(&countFrames));
        SendCaptureMessage(handle, WM_CAP_SET_PREVIEWRATE, 33, 0);
        SendCaptureMessage(handle, WM_CAP_SET_PREVIEW, CaptureTrue, 0);
    }

    void deliver(qint64 timeUs) {
        const CaptureWindow::ImmediateDelivery now;
        source.latest->deliver(makeFrame(
            QVideoFrameFormat::Format_YUYV, QSize(640, 480),
            [](int, int) { return QColor(200, 200, 200); }, timeUs));
    }

    SyntheticCameraSource source;
    QWidget parent;
    CaptureHandle handle = 0;
};

} // namespace

TEST_F(CameraWindow, FramesReachTheFrameRoutineAndThePreview) {
    deliver(0);
    deliver(40000);
    EXPECT_EQ(framesSeen, 2);
    const QImage shown = findCaptureWindow(handle)->shownImage();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.size(), QSize(160, 120));
    EXPECT_NEAR(qGray(shown.pixel(80, 60)), 200, 3);
    EXPECT_FALSE(findCaptureWindow(handle)->signalLost());
}

TEST_F(CameraWindow, CameraThatStopsShowsNoSignalAndDeliversNothing) {
    deliver(0);
    ASSERT_EQ(framesSeen, 1);
    CaptureWindow* window = findCaptureWindow(handle);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->signalLost(); }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(framesSeen, 1);
    // The last picture stays, dimmed.
    const QImage grabbed = window->grab().toImage();
    const int grey = qGray(grabbed.pixel(5, 5));
    EXPECT_GT(grey, 20);
    EXPECT_LT(grey, 150);
}

TEST_F(CameraWindow, UnpluggedCameraIsLostAtOnce) {
    deliver(0);
    source.latest->fail();
    EXPECT_TRUE(findCaptureWindow(handle)->signalLost());
}

TEST_F(CameraWindow, ChoosingTheDeviceAgainReconnects) {
    deliver(0);
    source.latest->fail();
    const auto oldRecord = source.latest->record();
    connectAndPreview();
    EXPECT_EQ(source.opened, 2);
    EXPECT_TRUE(oldRecord->released);
    EXPECT_FALSE(findCaptureWindow(handle)->signalLost());
    deliver(100000);
    EXPECT_EQ(framesSeen, 2);
}
