#pragma once
// A camera feed that tests drive by hand: frames and failures arrive when the
// test says so, and what the driver asked of the camera is kept in a record
// that outlives the feed.

#include "platform/QtCameraFeed.h"

#include <memory>
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

    std::shared_ptr<FeedRecord> record() const { return record_; }
    void deliver(const QVideoFrame& frame) { emit frameArrived(frame); }
    void fail() { emit failed(); }

    void start() override { record_->started = true; }
    std::vector<platform::CameraMode> modes() const override { return modes_; }
    void useMode(int index) override { record_->usedModes.push_back(index); }
    platform::CameraControls controls() const override { return controls_; }
    void setControl(platform::CameraControl::Kind kind, int value) override {
        record_->controlChanges.emplace_back(kind, value);
    }
    void release() override { record_->released = true; }

private:
    std::vector<platform::CameraMode> modes_;
    platform::CameraControls controls_;
    std::shared_ptr<FeedRecord> record_ = std::make_shared<FeedRecord>();
};

} // namespace cameratest
