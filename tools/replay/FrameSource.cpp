#include "tools/replay/FrameSource.h"

#include "platform/NativeFiles.h"
#include "tools/replay/FrameFiles.h"
#include "tools/replay/VideoFrames.h"

namespace replay {

namespace {

// One input: a picture file, or a video file.
struct Input {
    QByteArray path;
    bool video = false;
};

class PathFrames : public FrameSource {
public:
    explicit PathFrames(std::vector<Input> inputs) : inputs_(std::move(inputs)) {}

    bool next(SourceFrame& frame, QString& error) override {
        error.clear();
        while (next_ < inputs_.size()) {
            const Input& input = inputs_[next_];
            if (!input.video) {
                ++next_;
                if (!readFrame(input.path, frame.pixels, error))
                    return false;
                frame.cameraSize = QSize(160, 120); // as a recording holds it
                return stamp(frame, 0);
            }
            if (!video_) {
                if (!(video_ = VideoFrames::open(input.path, error)))
                    return false;
                base_ = following();
            }
            double seconds = 0;
            if (video_->next(frame.pixels, seconds, frame.cameraSize, error)) {
                if (videoStart_ < 0)
                    videoStart_ = seconds;
                return stamp(frame, seconds >= videoStart_ ? seconds - videoStart_ : -1);
            }
            if (!error.isEmpty())
                return false;
            video_.reset();
            videoStart_ = -1;
            ++next_;
        }
        return false;
    }

private:
    // Times run on across inputs; a picture, or a frame without a time of
    // its own, comes one picture period after the frame before.
    double following() const { return count_ == 0 ? 0 : last_ + PictureSeconds; }
    bool stamp(SourceFrame& frame, double sinceInputStart) {
        frame.seconds = video_ && sinceInputStart >= 0 ? base_ + sinceInputStart : following();
        last_ = frame.seconds;
        ++count_;
        return true;
    }

    std::vector<Input> inputs_;
    std::size_t next_ = 0;
    std::unique_ptr<VideoFrames> video_;
    double videoStart_ = -1; // the first time stamp of the current video
    double base_ = 0;        // where the current video's times start
    double last_ = 0;
    std::int64_t count_ = 0;
};

} // namespace

std::unique_ptr<FrameSource> FrameSource::open(const std::vector<QByteArray>& paths,
                                               QString& error) {
    std::vector<Input> inputs;
    for (const QByteArray& path : paths) {
        QString reason;
        if (VideoFrames::isVideoName(path) &&
            platform::pathKind(path, reason) != platform::PathKind::Directory) {
            inputs.push_back({path, true});
            continue;
        }
        std::vector<QByteArray> files;
        if (!listFrameFiles({path}, files, error))
            return nullptr;
        for (QByteArray& file : files)
            inputs.push_back({std::move(file), false});
    }
    return std::make_unique<PathFrames>(std::move(inputs));
}

} // namespace replay
