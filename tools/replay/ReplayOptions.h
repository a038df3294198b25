#pragma once
// The replay tool's command line.

#include "detection/MotionDetection.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace replay {

struct ReplayOptions {
    std::int32_t sampleEvery = MotionDetection::SampleEveryNthFrameRange.defaultValue;
    std::int32_t compareEvery = MotionDetection::CompareEveryNthByteRange.defaultValue;
    std::int32_t tolerance = MotionDetection::ToleranceRange.defaultValue;
    std::int32_t maxBeam = MotionDetection::MaxLaserBeamRange.defaultValue;
    // Which of the four were given: a plain --apply stores those alone.
    struct Given {
        bool sampleEvery = false;
        bool compareEvery = false;
        bool tolerance = false;
        bool maxBeam = false;
    } given;
    std::int32_t pauseMs = 0;      // --pause: no hit reported this long after one
    std::int32_t tuneShots = 0;    // --tune: the shots fired in the recording; 0 replays
    bool apply = false;            // --apply: store the values in the settings
    bool enhanced = false;         // --detection enhanced: the enhanced detection
    bool detectionGiven = false;   // --detection was given
    std::vector<QByteArray> paths; // as the system gave them; none with a plain --apply
    bool help = false;
    bool version = false;
};

// Parses the arguments after the program name; on a problem answers false
// with a message that names it.
bool parseOptions(const std::vector<QByteArray>& arguments, ReplayOptions& options, QString& error);

QString usageText();

} // namespace replay
