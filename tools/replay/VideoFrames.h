#pragma once
// The frames of a video file (whatever the installed GStreamer decodes:
// MP4, MKV, WebM, AVI, ...), decoded one at a time as fast as they come,
// not in real time, each reduced as the camera's frames are. Memory stays
// that of a few frames however long the video.

#include "capture/service/FullFrameDescription.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace replay {

class VideoFrames {
public:
    // Starts decoding; false with the reason when the file is no video
    // GStreamer can read.
    static std::unique_ptr<VideoFrames> open(const QByteArray& path, QString& error);
    ~VideoFrames();
    VideoFrames(const VideoFrames&) = delete;
    VideoFrames& operator=(const VideoFrames&) = delete;

    // The next frame as the analysis receives it, its time from the video's
    // start and the video's picture size. False at the end, or with error
    // set when the video cannot be decoded further.
    // With picture, the 4:3 middle of the video's picture is kept there too.
    bool next(std::vector<std::uint8_t>& frame, double& seconds, QSize& size, QString& error,
              capture::FullFrameCopy* picture = nullptr);

    // True for a name that looks like a video rather than a picture.
    static bool isVideoName(const QByteArray& path);

private:
    struct Pipeline;
    explicit VideoFrames(std::unique_ptr<Pipeline> pipeline);
    std::unique_ptr<Pipeline> pipeline_;
};

} // namespace replay
