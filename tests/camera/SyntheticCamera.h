#pragma once
// A camera that tests drive by hand: frames with known content, made the way
// a camera hands them over (a QVideoFrame of the wanted layout, mapped
// writable and filled from a picture given as a colour per pixel), and a
// feed that delivers them or fails when the test says so.

#include "platform/CaptureRecords.h"
#include "platform/QtCameraDriver.h"
#include "platform/QtCameraFeed.h"

#include <QColor>
#include <cstring>
#include <functional>
#include <memory>
#include <span>

namespace cameratest {

using Picture = std::function<QColor(int x, int y)>;

// YUV in BT.601 video range, chroma from the top-left pixel of each shared
// block. Not for YUV422P, whose planes Qt 6.4 sizes for half the chroma rows.
QVideoFrame makeFrame(const QVideoFrameFormat& format, const Picture& picture,
                      qint64 startTimeUs = -1);

inline QVideoFrame
greyFrame(int level, qint64 startTimeUs,
          QVideoFrameFormat::PixelFormat layout = QVideoFrameFormat::Format_YUYV) {
    return makeFrame(
        {QSize(64, 48), layout}, [=](int, int) { return QColor(level, level, level); },
        startTimeUs);
}

// What the driver asked of the camera; outlives the feed.
struct FeedRecord {
    bool started = false, released = false;
    std::vector<int> usedModes;
    std::vector<std::pair<platform::CameraControl::Kind, int>> controlChanges;
};

class SyntheticFeed : public platform::QtCameraFeed {
public:
    void deliver(const QVideoFrame& frame) { emit frameArrived(frame); }
    void fail() { emit failed(); }

    void start() override { record->started = true; }
    std::vector<platform::CameraMode> modes() const override { return modeList; }
    void useMode(int index) override { record->usedModes.push_back(index); }
    platform::CameraControls controls() const override { return controlList; }
    void setControl(platform::CameraControl::Kind kind, int value) override {
        record->controlChanges.emplace_back(kind, value);
    }
    void release() override { record->released = true; }

    std::vector<platform::CameraMode> modeList;
    platform::CameraControls controlList;
    const std::shared_ptr<FeedRecord> record = std::make_shared<FeedRecord>();
};

// A driver on a synthetic feed, keeping every frame it hands over.
struct FedDriver {
    explicit FedDriver(std::vector<platform::CameraMode> modes = {},
                       platform::CameraControls controls = {}) {
        auto owned = std::make_unique<SyntheticFeed>();
        owned->modeList = std::move(modes);
        owned->controlList = std::move(controls);
        feed = owned.get();
        driver = std::make_unique<platform::QtCameraDriver>(std::move(owned), settings);
    }
    void stream(int periodMs = 33) {
        driver->setStreaming(true, periodMs, [this](std::span<std::uint8_t> frame) {
            frames.emplace_back(frame.begin(), frame.end());
        });
    }
    platform::BITMAPINFOHEADER header() const {
        platform::BITMAPINFOHEADER h{};
        std::memcpy(&h, driver->videoFormat().constData(), sizeof h);
        return h;
    }

    std::shared_ptr<platform::QtCameraSettings> settings =
        std::make_shared<platform::QtCameraSettings>();
    SyntheticFeed* feed = nullptr;
    std::unique_ptr<platform::QtCameraDriver> driver;
    std::vector<std::vector<std::uint8_t>> frames;
};

} // namespace cameratest
