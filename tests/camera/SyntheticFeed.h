#pragma once
// A camera feed that tests drive by hand (frames and failures arrive when the
// test says so), and a Qt camera driver reading it. What the driver asked of
// the camera is kept in a record that outlives the feed.

#include "platform/CaptureRecords.h"
#include "platform/QtCameraDriver.h"
#include "platform/QtCameraFeed.h"

#include <cstring>
#include <memory>
#include <span>
#include <utility>
#include <vector>

namespace cameratest {

struct FeedRecord {
    bool started = false;
    bool released = false;
    std::vector<int> usedModes;
    std::vector<std::pair<platform::CameraControl::Kind, int>> controlChanges;
};

class SyntheticFeed : public platform::QtCameraFeed {
public:
    explicit SyntheticFeed(std::vector<platform::CameraMode> modes = {},
                           platform::CameraControls controls = {})
        : modes_(std::move(modes)), controls_(std::move(controls)) {}

    void deliver(const QVideoFrame& frame) { emit frameArrived(frame); }
    void fail() { emit failed(); }

    void start() override { record->started = true; }
    std::vector<platform::CameraMode> modes() const override { return modes_; }
    void useMode(int index) override { record->usedModes.push_back(index); }
    platform::CameraControls controls() const override { return controls_; }
    void setControl(platform::CameraControl::Kind kind, int value) override {
        record->controlChanges.emplace_back(kind, value);
    }
    void release() override { record->released = true; }

    const std::shared_ptr<FeedRecord> record = std::make_shared<FeedRecord>();

private:
    std::vector<platform::CameraMode> modes_;
    platform::CameraControls controls_;
};

// A driver on a synthetic feed, keeping every frame it hands over.
struct FedDriver {
    explicit FedDriver(std::vector<platform::CameraMode> modes = {},
                       platform::CameraControls controls = {}) {
        auto owned = std::make_unique<SyntheticFeed>(std::move(modes), std::move(controls));
        feed = owned.get();
        record = feed->record;
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
    std::shared_ptr<FeedRecord> record;
    std::unique_ptr<platform::QtCameraDriver> driver;
    std::vector<std::vector<std::uint8_t>> frames;
};

} // namespace cameratest
