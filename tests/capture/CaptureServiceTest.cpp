// The capture service: window handles, the answers to the capture messages,
// connecting, and the preview: frames reach the frame routine at most once
// per preview period while the preview is on, and the window shows each frame
// as the routine left it. And the picture conversion the replay tool (and the
// camera) use: the 4:3 centre crop, the scaling, and the blue-green-red rows,
// bottom-up or not.

#include "capture/service/FrameConversion.h"
#include "tests/testsupport/CaptureServiceFixture.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <cstring>
#include <functional>
#include <tuple>

using namespace platform;

// Handles are distinct, never reused, and need a parent and a driver source.
// Nothing is answered or written without a window and a driver, and a
// record is copied no further than its declared size.
TEST_F(CaptureService, HandlesAndAnswersWithoutAWindowOrADriver) {
    const CaptureHandle gone = createWindow(WS_CHILD);
    const CaptureHandle unconnected = createWindow();
    EXPECT_TRUE(gone != 0 && unconnected != 0 && gone != unconnected);
    EXPECT_TRUE(findCaptureWindow(gone)->isHidden() && !findCaptureWindow(unconnected)->isHidden());
    delete findCaptureWindow(gone);
    const CaptureHandle connected = connectedWindow();
    EXPECT_TRUE(connected != gone && connected != unconnected);
    EXPECT_EQ(capCreateCaptureWindow("", WS_CHILD, 0, 0, 160, 120, nullptr, 0), 0U);
    for (std::uint32_t message = WM_USER; message < WM_USER + 0x100; ++message) {
        CAPTUREPARMS record{};
        for (const CaptureHandle window : {unconnected, CaptureHandle{0}, gone})
            EXPECT_EQ(send(window, message, sizeof record, &record), 0) << message;
        EXPECT_EQ(record.dwRequestMicroSecPerFrame, 0U) << message;
    }
    EXPECT_EQ(send(connected, WM_USER + 11), 0); // a disconnect is never offered
    EXPECT_EQ(send(connected, 0x0010), 0);
    std::uint8_t format[48];
    std::memset(format, 0xEE, sizeof format);
    EXPECT_EQ(send(connected, WM_CAP_GET_VIDEOFORMAT, 20, format), 20);
    EXPECT_TRUE(format[4] == 160 && format[20] == 0xEE); // biWidth's low byte, then untouched
    EXPECT_EQ(send(connected, WM_CAP_GET_VIDEOFORMAT, sizeof format, format), 40);
    EXPECT_EQ(format[40], 0xEE);
    installCaptureDriverSource(nullptr);
    EXPECT_EQ(createWindow(), 0U);
}

namespace {

using Bytes = std::vector<std::uint8_t>;

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

// From inside the routine the old driver and its frame last until the
// routine returns, and that frame is not shown; the routine stays registered.
TEST_F(Preview, ConnectingStopsThePreviewAndDropsTheOldDriverEvenFromInsideTheRoutine) {
    const CaptureWindow::ImmediateDelivery now;
    CaptureHandle window = 0;
    seen.also = [&window](VIDEOHDR* header) {
        SendCaptureMessage(window, WM_CAP_DRIVER_CONNECT, 1, 0);
        std::memset(header->lpData, 0x11, header->dwBytesUsed);
    };
    window = previewing(connectedWindow(0, false));
    const CaptureWindow* const w = findCaptureWindow(window);
    installCaptureDriverSource(this);
    EXPECT_TRUE(scripted->push());
    EXPECT_EQ(std::tuple(live, w->driverIndex(), w->isPreviewing(), w->shownImage().isNull()),
              std::tuple(1, 1, false, true));
    seen.also = nullptr;
    EXPECT_FALSE(scripted->push()); // the new one waits for the preview
    send(window, WM_CAP_SET_PREVIEW, -1);
    EXPECT_TRUE(scripted->push());
    EXPECT_EQ(seen.frames, 2);
    ASSERT_NE(send(window, WM_CAP_DRIVER_CONNECT, 2), 0); // and from outside it
    EXPECT_EQ(std::tuple(live, w->isPreviewing()), std::tuple(1, false));
}

TEST(FrameConversion, CropsTo43AndWritesBlueGreenRedRowsBottomUpUnlessTheHeightIsNegative) {
    // clang-format off
    const std::pair<QSize, QRect> rows[] = {
        {{160, 120}, {0, 0, 160, 120}}, {{1280, 720}, {160, 0, 960, 720}}, {{120, 120}, {0, 15, 120, 90}},
        {{100, 200}, {0, 62, 100, 75}}, {{1, 1}, {0, 0, 1, 1}}, {{0, 120}, {}}, {{160, -1}, {}}};
    // clang-format on
    for (const auto& [size, crop] : rows)
        EXPECT_EQ(centreCrop43(size.width(), size.height()), crop) << size.width();
    // 320 x 120: the middle 160 x 120 is kept, the white sides go; the top row
    // is last in memory unless the height is negative. Odd widths are padded,
    // and a null picture is black.
    QImage picture(320, 120, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter(&picture).fillRect(80, 0, 160, 120, Qt::black); // the kept part
    picture.setPixel(80, 0, qRgb(10, 20, 30));               // its top left and bottom right
    picture.setPixel(239, 119, qRgb(40, 50, 60));
    Bytes out;
    convertImage(picture, FrameLayout{}, out);
    ASSERT_EQ(out.size(), 57600U);
    EXPECT_EQ(Bytes(out.begin() + 57120, out.begin() + 57123), (Bytes{30, 20, 10}));
    EXPECT_EQ(Bytes(out.begin() + 477, out.begin() + 480), (Bytes{60, 50, 40}));
    EXPECT_EQ(out[3], 0) << "no white side left";
    convertImage(picture, FrameLayout{160, -120, 32}, out);
    ASSERT_EQ(out.size(), 160U * 4U * 120U);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 4), (Bytes{30, 20, 10, 0}));
    EXPECT_EQ((FrameLayout{7, 3, 24}.frameBytes()), 72U); // rows of 24 bytes
    convertImage(QImage(), FrameLayout{}, out);
    EXPECT_EQ(out, Bytes(57600, 0));
}
