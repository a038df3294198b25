#pragma once
// Camera drivers of one synthetic camera at index 0, made the way the real
// camera source makes them; each connection opens a new feed, as opening the
// real device again does. The signal counts as lost after 30 ms of silence.

#include "SyntheticFeed.h"
#include "platform/CaptureDriver.h"
#include "platform/QtCameraDriver.h"

#include <memory>
#include <string>

namespace cameratest {

class SyntheticCameraSource : public platform::CaptureDriverSource {
public:
    bool describe(int index, std::string& name, std::string& version) override {
        if (index != 0)
            return false;
        name = "Synthetic Camera";
        version = "test /dev/video0";
        return true;
    }
    std::unique_ptr<platform::CaptureDriver> open(int index) override {
        if (index != 0)
            return nullptr;
        auto feed = std::make_unique<SyntheticFeed>();
        latest = feed.get();
        ++opened;
        auto driver = std::make_unique<platform::QtCameraDriver>(std::move(feed), settings);
        driver->setSignalTimeout(30);
        return driver;
    }

    SyntheticFeed* latest = nullptr;
    int opened = 0;
    std::shared_ptr<platform::QtCameraSettings> settings =
        std::make_shared<platform::QtCameraSettings>();
};

} // namespace cameratest
