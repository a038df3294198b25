#include "tests/detection/DetectionFixture.h"

#include "capture/AVICAP.h"
#include "capture/ConnectionFunctions.h"
#include "detection/MotionDetection.h"
#include "detection/Testing.h"
#include "platform/CaptureService.h"

#include <QByteArray>
#include <algorithm>

namespace detectiontest {

namespace {

class FixedFormatDriver : public platform::CaptureDriver {
public:
    FixedFormatDriver(std::int32_t width, std::int32_t height, std::int16_t bitCount)
        : width_(width), height_(height), bitCount_(bitCount) {}

    QByteArray videoFormat() const override {
        platform::BITMAPINFOHEADER header{};
        header.biSize = sizeof header;
        header.biWidth = width_;
        header.biHeight = height_;
        header.biPlanes = 1;
        header.biBitCount = bitCount_;
        return {reinterpret_cast<const char*>(&header), static_cast<qsizetype>(sizeof header)};
    }
    bool hasFormatDialog() const override { return false; }
    bool hasSourceDialog() const override { return false; }
    bool showFormatDialog(QWidget* /*parent*/) override { return false; }
    bool showSourceDialog(QWidget* /*parent*/) override { return false; }
    void setStreaming(bool /*on*/, int /*periodMs*/, FrameSink /*sink*/) override {}

private:
    std::int32_t width_;
    std::int32_t height_;
    std::int16_t bitCount_;
};

} // namespace

bool FixedFormatSource::describe(int index, std::string& name, std::string& version) {
    if (index != 0)
        return false;
    name = "Fixed Format";
    version = "1";
    return true;
}

std::unique_ptr<platform::CaptureDriver> FixedFormatSource::open(int index) {
    if (index != 0)
        return nullptr;
    return std::make_unique<FixedFormatDriver>(width, height, bitCount);
}

Frame::Frame(std::int32_t width, std::int32_t height, std::int32_t bytesPerPixel,
             std::int32_t rowBytes)
    : width(width), height(height), bytesPerPixel(bytesPerPixel),
      rowBytes(rowBytes > 0 ? rowBytes : width * bytesPerPixel) {
    bytes.assign(static_cast<std::size_t>(this->rowBytes) * static_cast<std::size_t>(height), 0);
}

void Frame::setPixel(std::int32_t x, std::int32_t row, std::uint8_t value) {
    const std::ptrdiff_t offset =
        std::ptrdiff_t{row} * rowBytes + std::ptrdiff_t{x} * bytesPerPixel;
    std::fill_n(bytes.begin() + offset, bytesPerPixel, value);
}

void Frame::setCell(std::int32_t column, std::int32_t row, std::int32_t step, std::uint8_t value) {
    setPixel(column * step, row * step, value);
}

void Frame::fill(std::uint8_t value) {
    std::fill(bytes.begin(), bytes.end(), value);
}

std::uint8_t Frame::byteAt(std::int32_t x, std::int32_t row, std::int32_t b) const {
    return bytes[std::size_t(row) * std::size_t(rowBytes) +
                 std::size_t(x) * std::size_t(bytesPerPixel) + std::size_t(b)];
}

void DetectionTest::SetUp() {
    MotionDetection::ResetFrameStateForTesting();
    MotionDetection::SetHitTarget(&target);
    platform::installCaptureDriverSource(&source);
    host = std::make_unique<QWidget>();
    window = ConnectionFunctions::CreateCaptureWindow("Test", platform::WS_CHILD, 0, 0, 160, 120,
                                                      host.get(), 0);
    ASSERT_NE(window, 0U);
    ASSERT_TRUE(AVICAP::DriverConnect(window, 0));
    setParameters(1, 5, 50, 20);
}

void DetectionTest::TearDown() {
    MotionDetection::SetHitTarget(nullptr);
    host.reset();
    platform::installCaptureDriverSource(nullptr);
    MotionDetection::ResetFrameStateForTesting();
}

void DetectionTest::useImageSize(std::int32_t width, std::int32_t height) {
    source.width = width;
    source.height = height;
    ASSERT_TRUE(AVICAP::DriverConnect(window, 0));
}

void DetectionTest::setParameters(std::int32_t n, std::int32_t s, std::int32_t t, std::int32_t m) {
    MotionDetection::SetSampleEveryNthFrame(n);
    MotionDetection::SetCompareEveryNthByte(s);
    MotionDetection::SetTolerance(t);
    MotionDetection::SetMaxLaserBeam(m);
}

void DetectionTest::deliver(Frame& frame) {
    deliver(frame, static_cast<std::uint32_t>(frame.bytes.size()));
}

void DetectionTest::deliver(Frame& frame, std::uint32_t bytesUsed) {
    platform::VIDEOHDR header{};
    header.lpData = frame.bytes.data();
    header.dwBufferLength = bytesUsed;
    header.dwBytesUsed = bytesUsed;
    EXPECT_EQ(MotionDetection::FrameCallback(window, &header), 0);
}

} // namespace detectiontest
