// The frame routine over a sequence of events, each chosen by the input: a
// new video format record (the picture size the capture status reports), a
// parameter set to any 32-bit value, or a frame of any byte count and header
// fields. Every frame has its own allocation of exactly its byte count, so
// AddressSanitizer sees any read or write beyond it; every hit must be finite.

#include "detection/MotionDetection.h"
#include "detection/Testing.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

class CheckingTarget : public MotionDetection::HitTarget {
public:
    void SetHole(std::int32_t /*x*/, std::int32_t /*y*/, double score) override {
        if (!std::isfinite(score))
            std::abort();
    }
    float TargetHeight() const override { return 6000.0F; }
};

// The header fields of a format record as a driver reports it.
QByteArray formatRecord(std::int32_t width, std::int32_t height, std::int16_t bitCount) {
    capture::BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    return {reinterpret_cast<const char*>(&header), sizeof header};
}

void setParameter(fuzz::FuzzInput& in) {
    const std::uint32_t which = in.below(4);
    const auto value = in.take<std::int32_t>();
    switch (which) {
    case 0:
        return MotionDetection::SetSampleEveryNthFrame(value);
    case 1:
        return MotionDetection::SetCompareEveryNthByte(value);
    case 2:
        return MotionDetection::SetTolerance(value);
    default:
        return MotionDetection::SetMaxLaserBeam(value);
    }
}

void deliverFrame(fuzz::FuzzInput& in, capture::CaptureHandle window) {
    // Mostly short, at times up to a little over a 160 x 120 x 32-bit frame.
    const std::size_t bytes = in.below(in.below(4) == 0 ? 160 * 120 * 4 + 64 : 4096);
    const auto fill = in.take<std::uint8_t>();
    capture::VIDEOHDR header{};
    header.dwBufferLength = in.take<std::uint32_t>();
    header.dwTimeCaptured = in.take<std::uint32_t>();
    header.dwFlags = in.take<std::uint32_t>();
    std::vector<std::uint8_t> frame(bytes, fill);
    const auto pattern = in.bytes(in.below(256));
    for (std::size_t i = 0; !pattern.empty() && i < bytes; i += 97)
        frame[i] = pattern[i / 97 % pattern.size()];
    header.lpData = frame.empty() ? nullptr : frame.data();
    header.dwBytesUsed = static_cast<std::uint32_t>(bytes);
    MotionDetection::FrameCallback(window, &header);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CheckingTarget target;
    fuzz::FuzzCapture& capture = fuzz::fuzzCapture();
    MotionDetection::setHitTarget(&target);
    MotionDetection::resetFrameStateForTesting();
    capture.driver->setVideoFormat(formatRecord(160, 120, 24));
    fuzz::FuzzInput in(data, size);
    for (int event = 0; event < 16 && !in.empty(); ++event) {
        switch (in.below(4)) {
        case 0: {
            const auto width = in.take<std::int32_t>();
            const auto height = in.take<std::int32_t>();
            capture.driver->setVideoFormat(formatRecord(width, height, in.take<std::int16_t>()));
            break;
        }
        case 1:
            setParameter(in);
            break;
        default:
            deliverFrame(in, capture.window);
        }
    }
    return 0;
}
