#include "detection/EnhancedDetection.h"

#include "capture/DeliveredPicture.h"
#include "capture/StatusFunctions.h"
#include "detection/AimingCross.h"
#include "detection/HitTarget.h"
#include "detection/MotionDetection.h"
#include "platform/Rounding.h"
#include "platform/SettingsStore.h"
#include "platform/ShotTally.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace MotionDetection {

namespace {

bool enhancedOn = false;
FlashDetector detector;
std::int32_t frameCount = 0;

// The analysis picture the hits are measured in, as the standard analysis
// sees it at Compare Every N-th Byte 1.
constexpr double AnalysisWidth = 160;
constexpr double AnalysisHeight = 120;

// The frame itself as a picture: blue-green-red rows, bottom-up.
capture::FullFrame frameAsPicture(const capture::VIDEOHDR& header, std::uint32_t width,
                                  std::uint32_t height) {
    capture::FullFrame picture;
    if (header.lpData == nullptr || width == 0 || height == 0 || width > 65535 || height > 65535)
        return picture;
    const std::uint64_t rowBytes = header.dwBytesUsed / height;
    const std::uint64_t pixelBytes = rowBytes / width;
    if (pixelBytes != 3 && pixelBytes != 4)
        return picture;
    picture.width = static_cast<std::int32_t>(width);
    picture.height = static_cast<std::int32_t>(height);
    picture.colours = capture::FullFrameColours::Rgb;
    const std::uint8_t* top = header.lpData + (height - 1) * rowBytes;
    const auto step = static_cast<std::int32_t>(pixelBytes);
    const auto up = -static_cast<std::ptrdiff_t>(rowBytes);
    picture.planes = {{{top + 2, up, step}, {top + 1, up, step}, {top, up, step}}};
    return picture;
}

} // namespace

bool enhancedDetection() {
    return enhancedOn;
}

void setEnhancedDetection(bool on) {
    if (on != enhancedOn)
        resetEnhancedDetection();
    enhancedOn = on;
    platform::writeSetting(QStringLiteral("Vantorel"), QStringLiteral("Settings"),
                           QString::fromLatin1(EnhancedDetectionKey),
                           on ? QStringLiteral(" 1") : QStringLiteral(" 0"));
}

void loadEnhancedDetection() {
    enhancedOn = readStoredValue(platform::readSetting(
                     QStringLiteral("Vantorel"), QStringLiteral("Settings"),
                     QString::fromLatin1(EnhancedDetectionKey), QStringLiteral(" 0"))) != 0;
}

void resetEnhancedDetection() {
    detector.reset();
    frameCount = 0;
}

void reportFlash(const Flash& flash, std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0)
        return;
    // Into the analysis picture, where the standard analysis has its grid:
    // a spot in the pixel at column 80 of row 60 from the bottom is the
    // centre, and rows count upwards.
    const double column = flash.x * AnalysisWidth / width - 0.5;
    const double rowFromTop = flash.y * AnalysisHeight / height - 0.5;
    const double dx = column - AnalysisWidth / 2;
    const double dy = (AnalysisHeight - 1 - rowFromTop) - AnalysisHeight / 2;
    const double distance = std::sqrt(dx * dx + dy * dy);
    const double reach = std::hypot(AnalysisWidth / 2, AnalysisHeight / 2);
    if (!(reach > distance)) {
        platform::shotTally().count(platform::MissReason::BeyondTarget);
        return;
    }
    HitTarget* const target = hitTarget();
    if (target == nullptr)
        return;
    const double score = 10.0 - (distance * 10.0) / (AnalysisHeight / 2);
    const double perRow = static_cast<double>(target->TargetHeight()) / AnalysisHeight;
    const std::int32_t y = platform::nearest(perRow * dy);
    const std::int32_t x = platform::nearest(perRow * dx);
    target->SetHole(x, y, score);
}

std::int32_t enhancedFrameCallback(capture::CaptureHandle captureWindow,
                                   capture::VIDEOHDR* header) {
    const std::int32_t sampleEvery = std::clamp(GetSampleEveryNthFrame(), 1, 50);
    if (frameCount % sampleEvery != 0) {
        platform::shotTally().count(platform::MissReason::FrameSkipped);
    } else {
        capture::FullFrame picture;
        if (const capture::FullFrame* delivered = capture::deliveredPicture(captureWindow))
            picture = *delivered;
        else if (header != nullptr)
            picture = frameAsPicture(*header, StatusFunctions::GetImageWidth(captureWindow),
                                     StatusFunctions::GetImageHeight(captureWindow));
        if (picture.empty()) {
            platform::shotTally().count(platform::MissReason::WrongFormat);
        } else {
            FlashRules rules;
            rules.tolerance = std::clamp(GetTolerance(), 1, 255);
            rules.maxBeam = GetMaxLaserBeam();
            if (const std::optional<Flash> flash = detector.push(picture, rules))
                reportFlash(*flash, picture.width, picture.height);
            if (detector.lastVerdict() == FlashVerdict::TooLarge ||
                detector.lastVerdict() == FlashVerdict::AllOver)
                platform::shotTally().count(platform::MissReason::SpotTooLarge);
        }
    }
    drawAimingCross(captureWindow, header);
    frameCount = frameCount == std::numeric_limits<std::int32_t>::max() ? 0 : frameCount + 1;
    return 0;
}

} // namespace MotionDetection
