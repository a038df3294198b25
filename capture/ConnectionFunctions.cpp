#include "capture/ConnectionFunctions.h"

#include "capture/AVICAP.h"
#include "capture/service/CaptureService.h"

namespace ConnectionFunctions {

bool ReadDriverDescription(std::int32_t index, CaptureDevice& entry) {
    // The driver writes a terminated text at the start of each copy; the
    // rest of each field keeps what it held.
    std::array<char, DescriptionLength> name = entry.Name;
    std::array<char, DescriptionLength> version = entry.Version;
    const std::int32_t answer =
        capture::capGetDriverDescription(static_cast<std::int16_t>(index), name.data(),
                                         DescriptionLength, version.data(), DescriptionLength);
    entry.Name = name;
    entry.Version = version;
    return answer != 0;
}

std::int32_t ListCaptureDrivers(CaptureDeviceList& list) {
    list.Count = 0;
    for (int index = 0; index < DriverIndexes; ++index) {
        const auto i = static_cast<std::size_t>(index);
        list.Answered[i] = ReadDriverDescription(index, list.Devices[i]);
        if (list.Answered[i])
            ++list.Count;
    }
    return list.Count;
}

CaptureHandle CreateCaptureWindow(const char* title, std::uint32_t style, std::int32_t x,
                                  std::int32_t y, std::int32_t width, std::int16_t height,
                                  QWidget* parent, std::int32_t id) {
    return capture::capCreateCaptureWindow(title, style, x, y, width, height, parent, id);
}

bool ConnectToDriver(CaptureHandle window, std::int32_t index) {
    return AVICAP::DriverConnect(window, static_cast<std::int16_t>(index));
}

} // namespace ConnectionFunctions
