// The capture library against the capture service and a simulated camera:
// window handles, the answers to the capture messages, every operation on
// the window it names, callbacks, the driver list, connecting, and the
// questions about a window, each asked afresh. The preview: frames reach the
// frame routine at most once per preview period while the preview is on,
// and the window shows each frame as the routine left it. And the picture
// conversion the replay tool (and the camera) use: the 4:3 centre crop, the
// scaling, and the blue-green-red rows, bottom-up or not.

#include "capture/AVICAP.h"
#include "capture/CallBackFunctions.h"
#include "capture/ConnectionFunctions.h"
#include "capture/DeliveredPicture.h"
#include "capture/StatusFunctions.h"
#include "capture/service/FrameConversion.h"
#include "platform/ShotClock.h"
#include "tests/fixtures/CaptureServiceFixture.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <cstring>
#include <functional>
#include <numeric>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

using namespace capture;
using namespace simcamera;
using namespace ConnectionFunctions;
using namespace StatusFunctions;

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

std::int32_t routine(CaptureHandle, VIDEOHDR*) {
    return 0;
}

// The count, then "name/version" for each index that answered, "-" for the others.
std::string listed(const CaptureDeviceList& list) {
    std::string out = std::to_string(list.Count) + ": ";
    for (std::size_t i = 0; i < list.Devices.size(); ++i) {
        const auto& [name, version] = list.Devices[i];
        out += list.Answered[i] ? std::string(name.data()) + "/" + version.data() + " " : "- ";
    }
    return out;
}

// Everything the queries say about a window, in one line; "read" gives the
// format read into a 7-byte buffer: success, its size and the sum of its bytes
// past the 40-byte header.
std::string described(CaptureHandle window) {
    std::vector<std::uint8_t> format(7, 0xEE);
    const bool read = ReadVideoFormat(window, format);
    std::ostringstream out;
    out << "index " << GetDeviceIndex(window) << " dialogs " << HasVideoFormatDialog(window)
        << HasVideoSourceDialog(window) << " format " << GetFormatWidth(window) << "x"
        << GetFormatHeight(window) << "x" << GetFormatBitCount(window) << " image "
        << GetImageWidth(window) << "x" << GetImageHeight(window) << " size "
        << GetFormatSize(window) << " read " << read << " " << format.size() << " "
        << std::accumulate(format.begin() + 40, format.end(), 0);
    return out.str();
}

} // namespace

// In bottom-up and top-down formats alike.
TEST_F(Preview, RoutineGetsTheFrameAndTheWindowShowsWhatItDrewUpright) {
    for (const SimulatedDriverConfig& format :
         {SimulatedDriverConfig{}, {.format = {320, -240, 32}}}) {
        SCOPED_TRACE(format.format.height);
        camera.setDriver(0, format);
        const std::uint32_t row = format.format.width * format.format.bitCount / 8;
        const std::uint32_t bytes = row * std::abs(format.format.height);
        // Paints the picture's top row white, wherever the format keeps it.
        seen = Seen{.also = [&](VIDEOHDR* header) {
            std::memset(header->lpData + (format.format.height > 0 ? bytes - row : 0), 0xFF, row);
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

// A window without a routine still shows the frames; streaming frames
// arrive by themselves. (That a simulated camera's frames are delivered at
// once, whatever the rate, every test of the main window relies on.)
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
    camera.deliverNextFrame();
    EXPECT_FALSE(findCaptureWindow(bare)->shownImage().isNull());
    send(previewing(bare), WM_CAP_SET_PREVIEWRATE, 5);
    EXPECT_TRUE(QTest::qWaitFor([] { return seen.frames >= 9; }, 5000));
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

// The frame routine can ask when its frame was captured: the driver's stamp,
// or the shot clock's time of its arrival from a driver that cannot tell; no
// time outside the routine.
TEST_F(Preview, TheRoutineKnowsWhenItsFrameWasCaptured) {
    using namespace std::chrono_literals;
    const CaptureWindow::ImmediateDelivery now;
    const platform::ShotTime arrival = platform::ShotTime{} + 7h;
    const platform::SeamGuard<platform::ShotClockSource> clock{platform::setShotClock,
                                                               [arrival] { return arrival; }};
    CaptureHandle window = 0;
    std::optional<platform::ShotTime> inside;
    seen.also = [&window, &inside](VIDEOHDR* /*header*/) { inside = deliveredFrameTime(window); };
    window = previewing(connectedWindow(0, false));
    EXPECT_EQ(deliveredFrameTime(window), std::nullopt);
    scripted->stamp = arrival - 120ms; // captured well before the analysis gets it
    ASSERT_TRUE(scripted->push());
    EXPECT_EQ(inside, arrival - 120ms);
    scripted->stamp.reset();
    ASSERT_TRUE(scripted->push());
    EXPECT_EQ(inside, arrival);
    EXPECT_EQ(deliveredFrameTime(window), std::nullopt);
    EXPECT_EQ(deliveredFrameTime(0), std::nullopt);
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

// A laser dot one camera pixel wide keeps its full brightness in the
// analysis pixel whose block holds it, wherever it lies in the block, in
// packed and planar YUV and in RGB; nothing else lights up.
TEST(FrameReduction, KeepsAOnePixelDotAtFullBrightnessInItsAnalysisPixel) {
    struct Case {
        QSize size;
        PixelLayout layout;
    };
    const Case cases[] = {{{640, 480}, PixelLayout::Yuyv},
                          {{640, 480}, PixelLayout::Rgb32},
                          {{1280, 720}, PixelLayout::Yuv420p},
                          {{1280, 720}, PixelLayout::Rgb24}};
    for (const auto& [size, layout] : cases) {
        const QRect crop = centreCrop43(size.width(), size.height());
        const int block = crop.width() / 160; // 4 or 6 camera pixels
        for (const QPoint dot : {QPoint(0, 0), QPoint(37 * block + block - 1, 90 * block + 1),
                                 QPoint(159 * block + 1, 119 * block + block - 1)}) {
            SCOPED_TRACE(testing::Message()
                         << size.width() << " layout " << static_cast<int>(layout) << " dot "
                         << dot.x() << "," << dot.y());
            // A dim picture (level 30) with one white pixel: video-range Y 235
            // for YUV, 255 for RGB.
            const int w = size.width();
            const int h = size.height();
            const QPoint at = dot + crop.topLeft();
            std::array<Bytes, 3> planes;
            CameraPicture picture;
            picture.layout = layout;
            picture.viewport = QRect(QPoint(), size);
            if (layout == PixelLayout::Yuyv) {
                planes[0].resize(std::size_t(w) * h * 2);
                for (std::size_t i = 0; i < planes[0].size(); i += 2)
                    planes[0][i] = 16 + 26, planes[0][i + 1] = 128;
                planes[0][(std::size_t(at.y()) * w + at.x()) * 2] = 235;
                picture.stride = {w * 2};
            } else if (layout == PixelLayout::Yuv420p) {
                planes[0].assign(std::size_t(w) * h, 16 + 26);
                planes[1].assign(std::size_t(w) * h / 4, 128);
                planes[2].assign(std::size_t(w) * h / 4, 128);
                planes[0][std::size_t(at.y()) * w + at.x()] = 235;
                picture.stride = {w, w / 2, w / 2};
            } else {
                const int bytes = layout == PixelLayout::Rgb32 ? 4 : 3;
                planes[0].assign(std::size_t(w) * h * bytes, 30);
                std::fill_n(planes[0].begin() + (std::ptrdiff_t(at.y()) * w + at.x()) * bytes,
                            bytes, 255);
                picture.stride = {w * bytes};
            }
            for (std::size_t i = 0; i < 3; ++i)
                picture.data[i] = planes[i].data(), picture.size[i] = planes[i].size();
            Bytes out;
            ASSERT_TRUE(reducePicture(picture, FrameLayout{}, out));
            ASSERT_EQ(out.size(), 57600U);
            const FrameLayout layout160;
            int lit = 0;
            for (int y = 0; y < 120; ++y) {
                for (int x = 0; x < 160; ++x) {
                    const std::uint8_t* px = out.data() + layout160.offset(x, y);
                    const bool dotHere = x == dot.x() / block && y == dot.y() / block;
                    const int want = dotHere ? 255 : 30;
                    for (int c = 0; c < 3; ++c)
                        ASSERT_NEAR(px[c], want, 2) << x << "," << y;
                    lit += dotHere ? 1 : 0;
                }
            }
            EXPECT_EQ(lit, 1);
        }
    }
    // Planes too small for the picture they claim are refused.
    Bytes small(100, 0), out{1};
    CameraPicture picture;
    picture.layout = PixelLayout::Yuyv;
    picture.viewport = QRect(0, 0, 64, 48);
    picture.data = {small.data()};
    picture.stride = {128};
    picture.size = {small.size()};
    EXPECT_FALSE(reducePicture(picture, FrameLayout{}, out));
    EXPECT_EQ(out, Bytes{1});
}

// Each operation acts on the window it names, once, and answers false
// without one (the preview frame rate answers nothing).
TEST_F(CaptureService, OperationsActOnTheirWindowAndFailWithoutOne) {
    using namespace AVICAP;
    std::string dialogs;
    camera.setFormatDialogAction([&](int, SimulatedCamera&) { dialogs += "format "; });
    camera.setSourceDialogAction([&](int, SimulatedCamera&) { dialogs += "source "; });
    const CaptureHandle handle = connectedWindow();
    const CaptureWindow* const w = findCaptureWindow(handle);
    for (const CaptureHandle target : {CaptureHandle{0}, handle}) {
        SCOPED_TRACE(target);
        EXPECT_EQ(VideoFormatDialog(target), target != 0);
        EXPECT_EQ(VideoSourceDialog(target), target != 0);
        EXPECT_EQ(SetPreview(target, true), target != 0);
        EXPECT_EQ(SetPreviewRate(target, 50), target != 0);
        CallBackFunctions::RegisterFrameCallback(target, &routine);
    }
    EXPECT_EQ(std::tuple(dialogs, w->isPreviewing(), w->previewPeriod(), w->callback(0x405)),
              std::tuple("format source ", true, 50, reinterpret_cast<std::intptr_t>(&routine)));
    EXPECT_TRUE(SetPreview(handle, false));
    CallBackFunctions::ClearCallbacks(handle);
    EXPECT_EQ(std::tuple(w->isPreviewing(), w->callback(0x405)), std::tuple(false, 0));
    // The period is nearest, ties to even; a rate below 1 has none.
    const std::pair<int, int> rates[] = {{30, 33}, {16, 62}, {0, 62}, {-5, 62}};
    for (const auto& [framesPerSecond, period] : rates) {
        SetPreviewFrameRate(handle, framesPerSecond);
        EXPECT_EQ(w->previewPeriod(), period) << framesPerSecond;
    }
}

// (No driver at all: the start-up in tests/app/ProgramLifeTest.cpp.)
TEST_F(CaptureService, DriverListKeepsGapsAndCountsOnlyTheDriversThatAnswer) {
    const std::pair<std::vector<int>, std::string> rows[] = {
        {{0, 2}, "2: C0/v - C2/v - - - - - - - "},
        {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, "10: C0/v C1/v C2/v C3/v C4/v C5/v C6/v C7/v C8/v C9/v "}};
    for (const auto& [answering, expected] : rows) {
        for (int i = 0; i < DriverIndexes; ++i)
            camera.setDriver(i, std::nullopt);
        for (const int i : answering)
            camera.setDriver(
                i, SimulatedDriverConfig{.name = "C" + std::to_string(i), .version = "v"});
        CaptureDeviceList list;
        list.Count = 9; // the count starts again on every listing
        EXPECT_EQ(ListCaptureDrivers(list), static_cast<std::int32_t>(answering.size()));
        EXPECT_EQ(listed(list), expected);
    }
    camera.setDriver(1, SimulatedDriverConfig{.name = std::string(150, 'N')});
    CaptureDevice entry;
    entry.Name.fill('x');
    EXPECT_FALSE(ReadDriverDescription(10, entry));
    EXPECT_TRUE(ReadDriverDescription(1, entry)); // cut to its field, terminated
    EXPECT_EQ(std::string(entry.Name.data(), 100), std::string(99, 'N') + '\0');
}

TEST_F(CaptureService, QueriesFollowTheConnectedDriverAndAreAskedAfresh) {
    SimulatedDriverConfig plain{.format = {640, -480, 32}};
    plain.hasFormatDialog = plain.hasSourceDialog = false;
    plain.extraFormatBytes = 1024; // a colour table: 64 x (160 + ... + 175) = 171520
    camera.setDriver(3, plain);
    const std::string none = "index 0 dialogs 00 format 0x0x0 image 0x0 size 0 read 0 44 0";
    const CaptureHandle handle = createWindow();
    EXPECT_EQ(described(handle), none);
    ASSERT_TRUE(ConnectToDriver(handle, 3));
    EXPECT_EQ(described(handle),
              "index 3 dialogs 00 format 640x-480x32 image 640x480 size 1064 read 1 1064 171520");
    ASSERT_TRUE(ConnectToDriver(handle, 0));
    EXPECT_EQ(described(handle),
              "index 0 dialogs 11 format 160x120x24 image 160x120 size 40 read 1 44 0");
    camera.setFormat(0, 320, -240, 24);
    EXPECT_EQ(described(handle), "index 0 dialogs 11 format 320x-240x24 image 320x240 size 40 "
                                 "read 1 44 0");
    CAPTUREPARMS expected{};
    CAPTUREPARMS after{};
    ASSERT_TRUE(ReadCaptureParms(handle, expected));
    SetCaptureYield(handle, -1); // sets the flag and keeps everything else
    expected.fYield = -1;
    ASSERT_TRUE(ReadCaptureParms(handle, after));
    EXPECT_EQ(std::memcmp(&after, &expected, sizeof after), 0);
    EXPECT_FALSE(ConnectToDriver(handle, 7)); // a failed switch leaves no driver
    EXPECT_EQ(described(handle), none);
}
