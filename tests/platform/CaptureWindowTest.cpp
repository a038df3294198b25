// The preview: frames reach the frame routine at most once per preview
// period while the preview is on, and the window shows each frame as the
// routine left it.

#include "CaptureServiceFixture.h"

#include <QImage>
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
} seen;

std::int32_t recordFrame(CaptureHandle window, VIDEOHDR* header) {
    ++seen.frames;
    seen.window = window;
    seen.header = *header;
    if (seen.also)
        seen.also(header);
    return 0;
}

class Preview : public CaptureService {
protected:
    Preview() { seen = Seen{}; }
    CaptureHandle previewing(CaptureHandle window) {
        send(window, WM_CAP_SET_CALLBACK_FRAME, 0, reinterpret_cast<const void*>(&recordFrame));
        send(window, WM_CAP_SET_PREVIEW, -1);
        return window;
    }
};

} // namespace

TEST_F(Preview, RoutineGetsTheFrameAndTheWindowShowsWhatItDrewUpright) {
    for (const SimulatedDriverConfig& format :
         {SimulatedDriverConfig{}, {.width = 320, .height = -240, .bitCount = 32}}) {
        SCOPED_TRACE(format.height);
        camera.setDriver(0, format);
        const std::uint32_t row = format.width * format.bitCount / 8;
        const std::uint32_t bytes = row * std::abs(format.height);
        // Paints the picture's top row white, wherever the format keeps it.
        seen = Seen{.also = [&](VIDEOHDR* header) {
            std::memset(header->lpData + (format.height > 0 ? bytes - row : 0), 0xFF, row);
        }};
        const CaptureHandle window = previewing(connectedWindow());
        camera.deliverNextFrame();
        EXPECT_EQ(seen.frames, 1);
        EXPECT_EQ(seen.window, window);
        EXPECT_EQ(seen.header.dwBytesUsed, bytes);
        EXPECT_EQ(seen.header.dwBufferLength, bytes);
        const QImage shown = findCaptureWindow(window)->shownImage();
        EXPECT_EQ(shown.pixel(5, 0), qRgb(255, 255, 255));
        EXPECT_NE(shown.pixel(5, 1), qRgb(255, 255, 255));
        const QImage grabbed = findCaptureWindow(window)->grab().toImage();
        EXPECT_EQ(grabbed.pixel(5, 0), qRgb(255, 255, 255));
        EXPECT_NE(grabbed.pixel(5, 60), qRgb(255, 255, 255));
        delete findCaptureWindow(window); // NOLINT(cppcoreguidelines-owning-memory)
    }
}

TEST_F(Preview, OnlyWhileThePreviewIsOnWithOrWithoutARoutine) {
    const CaptureHandle bare = connectedWindow();
    send(bare, WM_CAP_SET_PREVIEW, -1);
    const CaptureHandle off = previewing(connectedWindow());
    send(off, WM_CAP_SET_PREVIEW, 0);
    camera.deliverNextFrame();
    EXPECT_EQ(seen.frames, 0);
    EXPECT_TRUE(findCaptureWindow(off)->shownImage().isNull());
    EXPECT_FALSE(findCaptureWindow(bare)->shownImage().isNull());
    // Streaming frames arrive by themselves at the preview rate.
    send(previewing(off), WM_CAP_SET_PREVIEWRATE, 5);
    EXPECT_TRUE(QTest::qWaitFor([] { return seen.frames >= 3; }, 5000));
}

TEST_F(Preview, AtMostOneFramePerPeriodUnlessDeliveredNow) {
    const CaptureHandle window = previewing(scriptedWindow());
    send(window, WM_CAP_SET_PREVIEWRATE, 60000);
    EXPECT_EQ(scripted->lastPeriod, 60000); // the new rate reaches the streaming driver
    for (int i = 0; i < 5; ++i)
        scripted->push();
    EXPECT_EQ(seen.frames, 1);
    {
        const CaptureWindow::ImmediateDelivery now;
        for (int i = 0; i < 5; ++i)
            scripted->push();
    }
    EXPECT_EQ(seen.frames, 6);
    const CaptureHandle simulated = previewing(connectedWindow());
    send(simulated, WM_CAP_SET_PREVIEWRATE, 60000);
    for (int i = 0; i < 4; ++i)
        camera.deliverNextFrame(); // a simulated camera's "deliver now"
    EXPECT_EQ(seen.frames, 10);
}

TEST_F(Preview, SwitchingDriversStopsThePreviewEvenFromInsideTheRoutine) {
    camera.setDriver(1, SimulatedDriverConfig{.width = 320, .height = 240});
    CaptureHandle window = 0;
    seen.also = [&window](VIDEOHDR* header) {
        SendCaptureMessage(window, WM_CAP_DRIVER_CONNECT, 1, 0);
        // The frame stays readable and writable until the routine returns.
        std::memset(header->lpData, 0x11, header->dwBytesUsed);
    };
    window = previewing(connectedWindow());
    camera.deliverNextFrame();
    EXPECT_EQ(seen.frames, 1);
    EXPECT_EQ(findCaptureWindow(window)->driverIndex(), 1);
    EXPECT_TRUE(findCaptureWindow(window)->shownImage().isNull());
    seen.also = nullptr;
    camera.deliverNextFrame();
    EXPECT_EQ(seen.frames, 1);
    send(window, WM_CAP_SET_PREVIEW, -1);
    camera.deliverNextFrame();
    EXPECT_EQ(seen.frames, 2); // the frame routine stays registered
}
