#pragma once
// A camera that tests drive by hand: frames of a wanted layout filled from a
// picture given as a colour per pixel, and a feed that delivers them when the
// test says so.

#include "cameras/qt/QtCameraDriver.h"
#include "cameras/qt/QtCameraFeed.h"

#include <QColor>
#include <functional>
#include <memory>
#include <span>
#include <string_view>

namespace cameratest {

using Picture = std::function<QColor(int x, int y)>;
using PF = QVideoFrameFormat::PixelFormat;

// Where one channel's bytes go: plane, first byte, bytes from one block of
// pixels to the next, and the block size as shifts (chroma shares blocks).
struct Channel {
    char name; // R G B A, or Y U V
    int plane, offset, step, xShift = 0, yShift = 0;
};

inline std::vector<Channel> channelsOf(PF layout) {
    const int swap =
        layout == PF::Format_UYVY || layout == PF::Format_NV21 || layout == PF::Format_YV12;
    switch (layout) {
    case PF::Format_YUYV: // Y U Y V, swapped U Y V Y
    case PF::Format_UYVY:
        return {{'Y', 0, swap, 2}, {'U', 0, 1 - swap, 4, 1}, {'V', 0, 3 - swap, 4, 1}};
    case PF::Format_NV12:
    case PF::Format_NV21:
        return {{'Y', 0, 0, 1}, {'U', 1, swap, 2, 1, 1}, {'V', 1, 1 - swap, 2, 1, 1}};
    case PF::Format_YUV420P:
    case PF::Format_YV12:
        return {{'Y', 0, 0, 1}, {'U', 1 + swap, 0, 1, 1, 1}, {'V', 2 - swap, 0, 1, 1, 1}};
    case PF::Format_Y8: // a grey camera: full range, green stands for the level
        return {{'G', 0, 0, 1}};
    default: { // byte order from the name: "BGRA8888", "XRGB8888", "AYUV"
        const QString name = QVideoFrameFormat::pixelFormatToString(layout);
        const auto byte = [&](int i) {
            return Channel{name[i] == 'X' ? 'A' : name[i].toLatin1(), 0, i, 4};
        };
        return {byte(0), byte(1), byte(2), byte(3)};
    }
    }
}

// YUV in BT.601 video range, chroma from the top-left pixel of each shared
// block. Not for YUV422P, whose planes Qt 6.4 sizes for half the chroma rows.
inline QVideoFrame makeFrame(const QVideoFrameFormat& format, const Picture& picture,
                             qint64 startTimeUs = -1) {
    QVideoFrame frame{format};
    if (!frame.map(QVideoFrame::WriteOnly))
        return {};
    const std::vector<Channel> channels = channelsOf(format.pixelFormat());
    for (int y = 0; y < format.frameHeight(); ++y) {
        for (int x = 0; x < format.frameWidth(); ++x) {
            const QColor c = picture(x, y);
            const int r = c.red(), g = c.green(), b = c.blue();
            const int yuv[] = {16 + ((66 * r + 129 * g + 25 * b + 128) >> 8),
                               128 + ((-38 * r - 74 * g + 112 * b + 128) >> 8),
                               128 + ((112 * r - 94 * g - 18 * b + 128) >> 8)};
            const int all[] = {r, g, b, 255, yuv[0], yuv[1], yuv[2]};
            for (const Channel& ch : channels) {
                if (x % (1 << ch.xShift) != 0 || y % (1 << ch.yShift) != 0)
                    continue; // a shared block takes its top-left pixel's colour
                frame.bits(ch.plane)[std::ptrdiff_t{y >> ch.yShift} * frame.bytesPerLine(ch.plane) +
                                     std::ptrdiff_t{x >> ch.xShift} * ch.step + ch.offset] =
                    static_cast<uchar>(all[std::string_view("RGBAYUV").find(ch.name)]);
            }
        }
    }
    frame.unmap();
    frame.setStartTime(startTimeUs);
    return frame;
}

inline QVideoFrame greyFrame(int level, qint64 startTimeUs, PF layout = PF::Format_YUYV) {
    const Picture flat = [=](int, int) { return QColor(level, level, level); };
    return makeFrame({QSize(64, 48), layout}, flat, startTimeUs);
}

// What the driver asked of the camera; outlives the feed.
struct FeedRecord {
    bool released = false;
    std::vector<int> usedModes;
    std::vector<std::pair<qtcamera::CameraControl::Kind, int>> controlChanges;
};

class SyntheticFeed : public qtcamera::QtCameraFeed {
public:
    void deliver(const QVideoFrame& frame) { emit frameArrived(frame); }
    void fail(const QString& reason) { emit failed(reason); }
    void start() override {}
    std::vector<qtcamera::CameraMode> modes() const override { return modeList; }
    void useMode(int index) override { record->usedModes.push_back(index); }
    qtcamera::CameraControls controls() const override { return controlList; }
    void setControl(qtcamera::CameraControl::Kind kind, int value) override {
        record->controlChanges.emplace_back(kind, value);
    }
    void release() override { record->released = true; }

    std::vector<qtcamera::CameraMode> modeList;
    qtcamera::CameraControls controlList;
    const std::shared_ptr<FeedRecord> record = std::make_shared<FeedRecord>();
};

// A driver on a synthetic feed, keeping every frame it hands over.
struct FedDriver {
    explicit FedDriver(std::vector<qtcamera::CameraMode> modes = {},
                       qtcamera::CameraControls controls = {}) {
        auto owned = std::make_unique<SyntheticFeed>();
        owned->modeList = std::move(modes);
        owned->controlList = std::move(controls);
        feed = owned.get();
        driver = std::make_unique<qtcamera::QtCameraDriver>(
            std::move(owned), std::make_shared<qtcamera::QtCameraSettings>());
    }
    void stream(int periodMs = 33) {
        driver->setStreaming(
            true, periodMs,
            [this](std::span<std::uint8_t> frame, const capture::FullFrame* /*picture*/) {
                frames.emplace_back(frame.begin(), frame.end());
            });
    }

    SyntheticFeed* feed = nullptr;
    std::unique_ptr<qtcamera::QtCameraDriver> driver;
    std::vector<std::vector<std::uint8_t>> frames;
};

} // namespace cameratest
