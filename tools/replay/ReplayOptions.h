#pragma once
// The replay tool's command line and the frames it names.

#include "detection/MotionDetection.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace replay {

struct ReplayOptions {
    std::int32_t sampleEvery = MotionDetection::SampleEveryNthFrameRange.defaultValue;
    std::int32_t compareEvery = MotionDetection::CompareEveryNthByteRange.defaultValue;
    std::int32_t tolerance = MotionDetection::ToleranceRange.defaultValue;
    std::int32_t maxBeam = MotionDetection::MaxLaserBeamRange.defaultValue;
    QStringList paths;
    bool help = false;
};

// Parses the arguments after the program name; on a problem answers false
// with a message that names it.
bool parseOptions(const QStringList& arguments, ReplayOptions& options, QString& error);

QString usageText();

// Every frame of the paths, in order, as 160 x 120 x 24-bit bottom-up
// frames: a file is one frame, a directory gives its image files in name
// order. Answers false with a message on the first path that cannot be read.
bool loadFrames(const QStringList& paths, std::vector<std::vector<std::uint8_t>>& frames,
                QString& error);

} // namespace replay
