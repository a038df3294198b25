#pragma once
// The frames of a replay, one at a time, as the analysis receives them:
// 160 x 120, 24 bits, rows bottom-up, each reduced from the picture or video
// frame by the same reduction as the camera's. PATHs are picture files,
// folders of pictures (in name order) and video files, in the order given.

#include "capture/service/FullFrameDescription.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace replay {

struct SourceFrame {
    std::vector<std::uint8_t> pixels; // the analysis frame
    double seconds = 0;               // from the first frame of the run
    QSize cameraSize;                 // the picture it was reduced from
    // The 4:3 middle of a video's picture at full size; empty for pictures,
    // which are the analysis frames already.
    capture::FullFrameCopy picture;
};

class FrameSource {
public:
    // Pictures without a time of their own are this far apart.
    static constexpr double PictureSeconds = 1.0 / 30;

    // Lists the paths; nothing when one cannot be listed (error says why).
    static std::unique_ptr<FrameSource> open(const std::vector<QByteArray>& paths, QString& error);
    virtual ~FrameSource() = default;

    // The next frame. False at the end, or with error set when a picture or
    // video cannot be read (the frames before it were good).
    virtual bool next(SourceFrame& frame, QString& error) = 0;
};

} // namespace replay
