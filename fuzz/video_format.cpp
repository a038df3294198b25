// The video format record as the capture window reports it: any bytes a
// driver gives as its format (any length, any header fields), read back
// through every status and format question, then a frame of any size shown
// by the capture window in that format.

#include "capture/StatusFunctions.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzSupport.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzCapture& capture = fuzz::fuzzCapture();
    fuzz::FuzzInput in(data, size);
    const std::size_t frameBytes = in.below(1 << 18);
    const auto record = in.remaining();
    capture.driver->setVideoFormat(QByteArray(reinterpret_cast<const char*>(record.data()),
                                              static_cast<qsizetype>(record.size())));

    using namespace StatusFunctions;
    std::vector<std::uint8_t> format;
    ReadVideoFormat(capture.window, format);
    // The whole record arrives, with nothing past it.
    if (GetFormatSize(capture.window) != static_cast<std::int32_t>(record.size()) ||
        format.size() < record.size() ||
        (!record.empty() && std::memcmp(format.data(), record.data(), record.size()) != 0))
        std::abort();
    // One question of each kind: the status and the header are read whole.
    GetImageWidth(capture.window);
    GetFormatWidth(capture.window);

    std::vector<std::uint8_t> frame(frameBytes, 0x80);
    capture.driver->push(frame);
    return 0;
}
