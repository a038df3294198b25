// The preview: frames reach the frame routine at the preview rate, and the
// window shows each frame as the routine left it.

#include "CaptureServiceFixture.h"

#include <QImage>
#include <QPixmap>
#include <QTest>
#include <cstring>
#include <functional>

using namespace platform;

namespace {

struct Seen {
    int frames = 0;
    CaptureHandle window = 0;
    VIDEOHDR header{};
    std::function<void(VIDEOHDR*)> also;
};
Seen seen;

std::int32_t recordFrame(CaptureHandle window, VIDEOHDR* header) {
    ++seen.frames;
    seen.window = window;
    seen.header = *header;
    if (seen.also)
        seen.also(header);
    return 0;
}

// Paints the frame's top picture row white, wherever the format keeps it.
void whitenTopRowBottomUp(VIDEOHDR* header) {
    std::memset(header->lpData + header->dwBytesUsed - 480, 0xFF, 480);
}

class Preview : public CaptureService {
protected:
    Preview() { seen = Seen{}; }
    CaptureHandle previewingWindow(int index = 0) {
        const CaptureHandle window = connectedWindow(index);
        send(window, WM_CAP_SET_CALLBACK_FRAME, 0, reinterpret_cast<const void*>(&recordFrame));
        send(window, WM_CAP_SET_PREVIEW, -1);
        return window;
    }
};

} // namespace

TEST_F(Preview, RoutineGetsTheWindowAndTheFrameHeader) {
    const CaptureHandle window = previewingWindow();
    camera.deliverNextFrame();
    EXPECT_EQ(seen.frames, 1);
    EXPECT_EQ(seen.window, window);
    EXPECT_NE(seen.header.lpData, nullptr);
    EXPECT_EQ(seen.header.dwBytesUsed, 57600U);
    EXPECT_EQ(seen.header.dwBufferLength, 57600U);
    EXPECT_EQ(findCaptureWindow(window)->deliveredFrames(), 1U);
}

TEST_F(Preview, FrameSizeFollowsTheFormat) {
    SimulatedDriverConfig config;
    config.width = 320;
    config.height = -240;
    config.bitCount = 32;
    camera.setDriver(0, config);
    previewingWindow();
    camera.deliverNextFrame();
    EXPECT_EQ(seen.header.dwBytesUsed, 320U * 240U * 4U);
}

TEST_F(Preview, WindowShowsTheFrameAfterTheRoutineDrewIntoIt) {
    seen.also = whitenTopRowBottomUp;
    const CaptureHandle window = previewingWindow();
    camera.deliverNextFrame();
    const QImage shown = findCaptureWindow(window)->shownImage();
    ASSERT_EQ(shown.size(), QSize(160, 120));
    EXPECT_EQ(shown.pixel(5, 0), qRgb(255, 255, 255));
    EXPECT_NE(shown.pixel(5, 1), qRgb(255, 255, 255));

    const QImage grabbed = findCaptureWindow(window)->grab().toImage();
    EXPECT_EQ(grabbed.pixel(5, 0), qRgb(255, 255, 255));
    EXPECT_NE(grabbed.pixel(5, 60), qRgb(255, 255, 255));
}

TEST_F(Preview, TopDownAndThirtyTwoBitFramesShowUpright) {
    SimulatedDriverConfig config;
    config.height = -120;
    config.bitCount = 32;
    camera.setDriver(0, config);
    // Top-down: the first row in memory is the picture's top.
    seen.also = [](VIDEOHDR* header) { std::memset(header->lpData, 0xFF, 160 * 4); };
    const CaptureHandle window = previewingWindow();
    camera.deliverNextFrame();
    const QImage shown = findCaptureWindow(window)->shownImage();
    EXPECT_EQ(shown.pixel(80, 0), qRgb(255, 255, 255));
    EXPECT_NE(shown.pixel(80, 119), qRgb(255, 255, 255));
}

TEST_F(Preview, NothingIsDeliveredWithThePreviewOff) {
    const CaptureHandle window = previewingWindow();
    send(window, WM_CAP_SET_PREVIEW, 0);
    camera.deliverNextFrame();
    EXPECT_EQ(seen.frames, 0);
    EXPECT_TRUE(findCaptureWindow(window)->shownImage().isNull());
}

TEST_F(Preview, FramesShowWithoutARoutine) {
    const CaptureHandle window = connectedWindow();
    send(window, WM_CAP_SET_PREVIEW, -1);
    camera.deliverNextFrame();
    EXPECT_FALSE(findCaptureWindow(window)->shownImage().isNull());
}

TEST_F(Preview, StreamingFramesArriveByThemselves) {
    const CaptureHandle window = previewingWindow();
    send(window, WM_CAP_SET_PREVIEWRATE, 5);
    for (int i = 0; i < 200 && seen.frames < 3; ++i)
        QTest::qWait(10);
    EXPECT_GE(seen.frames, 3);
}

TEST_F(Preview, FramesSoonerThanThePeriodAreDropped) {
    const CaptureHandle window = scriptedWindow();
    send(window, WM_CAP_SET_CALLBACK_FRAME, 0, reinterpret_cast<const void*>(&recordFrame));
    send(window, WM_CAP_SET_PREVIEWRATE, 60000);
    send(window, WM_CAP_SET_PREVIEW, -1);
    EXPECT_EQ(scripted.last->lastPeriod, 60000);
    for (int i = 0; i < 5; ++i)
        scripted.last->push();
    EXPECT_EQ(seen.frames, 1);
}

TEST_F(Preview, FramesDeliveredNowAreNeverDropped) {
    const CaptureHandle window = scriptedWindow();
    send(window, WM_CAP_SET_CALLBACK_FRAME, 0, reinterpret_cast<const void*>(&recordFrame));
    send(window, WM_CAP_SET_PREVIEWRATE, 60000);
    send(window, WM_CAP_SET_PREVIEW, -1);
    const CaptureWindow::ImmediateDelivery now;
    for (int i = 0; i < 5; ++i)
        scripted.last->push();
    EXPECT_EQ(seen.frames, 5);
}

TEST_F(Preview, SimulatedDeliveryIgnoresThePeriod) {
    const CaptureHandle window = previewingWindow();
    send(window, WM_CAP_SET_PREVIEWRATE, 60000);
    for (int i = 0; i < 4; ++i)
        camera.deliverNextFrame();
    EXPECT_EQ(seen.frames, 4);
}

TEST_F(Preview, NewRateReachesTheStreamingDriver) {
    const CaptureHandle window = scriptedWindow();
    send(window, WM_CAP_SET_PREVIEW, -1);
    send(window, WM_CAP_SET_PREVIEWRATE, 33);
    EXPECT_EQ(scripted.last->lastPeriod, 33);
}

TEST_F(Preview, RoutineMaySwitchDriversMidFrame) {
    SimulatedDriverConfig second;
    second.width = 320;
    second.height = 240;
    camera.setDriver(1, second);
    CaptureHandle window = 0;
    seen.also = [&window](VIDEOHDR* header) {
        SendCaptureMessage(window, WM_CAP_DRIVER_CONNECT, 1, 0);
        // The frame stays readable and writable until the routine returns.
        std::memset(header->lpData, 0x11, header->dwBytesUsed);
    };
    window = previewingWindow();
    camera.deliverNextFrame();
    EXPECT_EQ(seen.frames, 1);
    EXPECT_EQ(findCaptureWindow(window)->driverIndex(), 1);
    EXPECT_TRUE(findCaptureWindow(window)->shownImage().isNull());
}

TEST_F(Preview, SwitchingDriversStopsThePreviewUntilAskedAgain) {
    SimulatedDriverConfig second;
    camera.setDriver(1, second);
    const CaptureHandle window = previewingWindow();
    ASSERT_NE(send(window, WM_CAP_DRIVER_CONNECT, 1), 0);
    camera.deliverNextFrame();
    EXPECT_EQ(seen.frames, 0);
    send(window, WM_CAP_SET_PREVIEW, -1);
    camera.deliverNextFrame();
    EXPECT_EQ(seen.frames, 1); // the frame routine stays registered
}
