#include "tools/replay/ReplayDriver.h"

#include <span>

namespace replay {

QByteArray ReplayDriver::videoFormat() const {
    platform::BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = 160;
    header.biHeight = 120;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = platform::BI_RGB;
    header.biSizeImage = 160 * 3 * 120;
    return {reinterpret_cast<const char*>(&header), static_cast<qsizetype>(sizeof header)};
}

void ReplayDriver::setStreaming(bool on, int /*periodMs*/, FrameSink sink) {
    sink_ = on ? std::move(sink) : FrameSink{};
}

bool ReplayDriver::push(std::vector<std::uint8_t>& frame) {
    if (!sink_)
        return false;
    sink_(std::span<std::uint8_t>(frame));
    return true;
}

bool ReplayDriverSource::describe(int index, std::string& name, std::string& version) {
    if (index != 0)
        return false;
    name = "Recorded Frames";
    version = "Version 1.0";
    return true;
}

std::unique_ptr<platform::CaptureDriver> ReplayDriverSource::open(int index) {
    if (index != 0)
        return nullptr;
    auto driver = std::make_unique<ReplayDriver>();
    driver_ = driver.get();
    return driver;
}

} // namespace replay
