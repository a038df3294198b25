#pragma once
// Capture drivers: their descriptions, the list by index, the capture window
// and connecting it to a driver.

#include "capture/CaptureRecords.h"

#include <array>
#include <cstdint>

class QWidget;

namespace ConnectionFunctions {

using capture::CaptureHandle;

using capture::DriverIndexes;
constexpr int DescriptionLength = 100;

struct CaptureDevice {
    std::array<char, DescriptionLength> Name{};    // NUL-filled at start
    std::array<char, DescriptionLength> Version{}; // NUL-filled at start
};

struct CaptureDeviceList {
    std::array<CaptureDevice, DriverIndexes> Devices{};
    std::int32_t Count = 0;
    // Which indexes answered, so that entries after a gap still connect to
    // their own index.
    std::array<bool, DriverIndexes> Answered{};
};

bool ReadDriverDescription(std::int32_t index, CaptureDevice& entry);
std::int32_t ListCaptureDrivers(CaptureDeviceList& list);
CaptureHandle CreateCaptureWindow(const char* title, std::uint32_t style, std::int32_t x,
                                  std::int32_t y, std::int32_t width, std::int16_t height,
                                  QWidget* parent, std::int32_t id);
bool ConnectToDriver(CaptureHandle window, std::int32_t index);

} // namespace ConnectionFunctions
