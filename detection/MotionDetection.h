#pragma once
// Shot detection: the frame routine, hit location and score, and the four
// detection parameters.

#include "capture/CaptureRecords.h"
#include "detection/HitTarget.h"

#include <QString>
#include <cstdint>

namespace MotionDetection {

// Parameter ranges and the defaults applied by start-up and "Default Settings".
// Every pixel is compared by default: on a web camera a laser dot is only a
// few pixels wide, and a spot must span two compared pixels to count.
struct ParameterRange {
    const char* key;
    std::int32_t min;
    std::int32_t max;
    std::int32_t defaultValue;
};
constexpr ParameterRange SampleEveryNthFrameRange{"SampleEveryNthFrame", 1, 50, 1};
constexpr ParameterRange CompareEveryNthByteRange{"CompareEveryNthByte", 1, 50, 1};
constexpr ParameterRange ToleranceRange{"Tolerance", 1, 255, 50};
constexpr ParameterRange MaxLaserBeamRange{"MaxLaserBeam", 1, 100, 20};

// Setters hold the value to its range, make it live and save it at once.
void SetSampleEveryNthFrame(std::int32_t value);
void SetCompareEveryNthByte(std::int32_t value);
void SetTolerance(std::int32_t value);
void SetMaxLaserBeam(std::int32_t value);
std::int32_t GetSampleEveryNthFrame();
std::int32_t GetCompareEveryNthByte();
std::int32_t GetTolerance();
std::int32_t GetMaxLaserBeam();

// Reads a stored parameter text: its leading decimal number, leading blanks
// ignored, a fraction rounded to the nearest integer (ties to even), 0 when
// it holds no number; beyond the 32-bit range it saturates.
std::int32_t readStoredValue(const QString& text);

// The frame routine registered with the capture window; always answers 0.
std::int32_t FrameCallback(capture::CaptureHandle captureWindow, capture::VIDEOHDR* header);

// True when the window's current format is the one the program works on:
// 160 x 120, 24 bits a pixel (asked afresh on every call).
bool hasAnalysisFormat(capture::CaptureHandle window);

// The ring the score card shows for a raw score: floor(score) + 1, at most
// 10. The frame analysis never delivers less than -10, but the conversion is
// held to the integer range all the same.
std::int32_t shotScore(double score);

} // namespace MotionDetection
