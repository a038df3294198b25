// The preview: frames reach the frame routine at most once per preview
// period while the preview is on, and the window shows each frame as the
// routine left it.

#include "tests/testsupport/CaptureServiceFixture.h"

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
    seen = Seen{seen.frames + 1, window, *header, seen.also};
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

// In bottom-up and top-down formats alike.
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
        EXPECT_TRUE(seen.frames == 1 && seen.window == window);
        EXPECT_TRUE(seen.header.dwBytesUsed == bytes && seen.header.dwBufferLength == bytes);
        const QImage shown = findCaptureWindow(window)->shownImage();
        EXPECT_TRUE(shown.pixel(5, 0) == qRgb(255, 255, 255) &&
                    shown.pixel(5, 1) != shown.pixel(5, 0));
        const QImage grabbed = findCaptureWindow(window)->grab().toImage();
        EXPECT_TRUE(grabbed.pixel(5, 0) == shown.pixel(5, 0) &&
                    grabbed.pixel(5, 60) != shown.pixel(5, 0));
        delete findCaptureWindow(window);
    }
}

// A simulated camera's frames are delivered at once; a window without a
// routine still shows them; streaming frames arrive by themselves.
TEST_F(Preview, OnlyWhilePreviewingAndAtMostOneFramePerPeriodUnlessDeliveredNow) {
    const CaptureHandle window = previewing(connectedWindow(0, false));
    send(window, WM_CAP_SET_PREVIEWRATE, 60000);
    EXPECT_EQ(scripted->lastPeriod, 60000); // the new rate reaches the streaming driver
    for (int i = 0; i < 5; ++i)
        scripted->push();
    EXPECT_EQ(seen.frames, 1);
    {
        const CaptureWindow::ImmediateDelivery now;
        for (int i = 0; i < 5; ++i)
            scripted->push();
        send(window, WM_CAP_SET_PREVIEW, 0);
        EXPECT_FALSE(scripted->push());
    }
    EXPECT_EQ(seen.frames, 6);
    const CaptureHandle bare = connectedWindow();
    send(bare, WM_CAP_SET_PREVIEW, -1);
    send(previewing(connectedWindow()), WM_CAP_SET_PREVIEWRATE, 60000);
    for (int i = 0; i < 4; ++i)
        camera.deliverNextFrame();
    EXPECT_EQ(seen.frames, 10);
    EXPECT_FALSE(findCaptureWindow(bare)->shownImage().isNull());
    send(previewing(bare), WM_CAP_SET_PREVIEWRATE, 5);
    EXPECT_TRUE(QTest::qWaitFor([] { return seen.frames >= 13; }, 5000));
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
    EXPECT_EQ(findCaptureWindow(window)->driverIndex(), 1);
    EXPECT_TRUE(findCaptureWindow(window)->shownImage().isNull());
    seen.also = nullptr;
    camera.deliverNextFrame();
    EXPECT_EQ(seen.frames, 1);
    send(window, WM_CAP_SET_PREVIEW, -1);
    camera.deliverNextFrame();
    EXPECT_EQ(seen.frames, 2); // the frame routine stays registered
}
