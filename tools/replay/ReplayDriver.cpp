#include "tools/replay/ReplayDriver.h"

#include <span>

namespace replay {

void ReplayDriver::setStreaming(bool on, int /*periodMs*/, FrameSink sink) {
    sink_ = on ? std::move(sink) : FrameSink{};
}

bool ReplayDriver::push(std::vector<std::uint8_t>& frame, const capture::FullFrame* picture) {
    if (!sink_)
        return false;
    sink_(std::span<std::uint8_t>(frame), picture);
    return true;
}

bool ReplayDriverSource::describe(int index, std::string& name, std::string& version) {
    if (index != 0)
        return false;
    name = "Recorded Frames";
    version = "Version 1.0";
    return true;
}

std::unique_ptr<capture::CaptureDriver> ReplayDriverSource::open(int index) {
    if (index != 0)
        return nullptr;
    auto driver = std::make_unique<ReplayDriver>();
    driver_ = driver.get();
    return driver;
}

} // namespace replay
