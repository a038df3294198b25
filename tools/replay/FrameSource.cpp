#include "tools/replay/FrameSource.h"

#include "platform/NativeFiles.h"
#include "tools/replay/FrameFiles.h"
#include "tools/replay/VideoFrames.h"

#include <QThread>
#include <QThreadPool>
#include <deque>
#include <future>

namespace replay {

namespace {

// One input: a picture file, or a video file.
struct Input {
    QByteArray path;
    bool video = false;
};

// One picture read by a worker.
struct Picture {
    std::vector<std::uint8_t> pixels;
    QString error; // empty when read
};

class PathFrames : public FrameSource {
public:
    explicit PathFrames(std::vector<Input> inputs) : inputs_(std::move(inputs)) {
        pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    }
    ~PathFrames() override { pool_.waitForDone(); }
    PathFrames(const PathFrames&) = delete;
    PathFrames& operator=(const PathFrames&) = delete;

    bool next(SourceFrame& frame, QString& error) override {
        error.clear();
        while (next_ < inputs_.size()) {
            const Input& input = inputs_[next_];
            if (!input.video) {
                readAhead();
                Batch& batch = ahead_.front();
                if (batch.pictures.empty())
                    batch.pictures = batch.reading.get();
                Picture& picture = batch.pictures[next_ - batch.first];
                ++next_;
                frame.pixels.swap(picture.pixels);
                error = picture.error;
                if (next_ == batch.first + batch.count)
                    ahead_.pop_front();
                if (!error.isEmpty())
                    return false;
                frame.cameraSize = QSize(160, 120); // as a recording holds it
                frame.picture.assign({});
                return stamp(frame, 0);
            }
            if (!video_) {
                if (!(video_ = VideoFrames::open(input.path, error)))
                    return false;
                base_ = following();
            }
            double seconds = 0;
            if (video_->next(frame.pixels, seconds, frame.cameraSize, error, &frame.picture)) {
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
    // Decoding a picture costs more than analysing it: the next few are
    // read on every core while the analysis works, a few frames' memory.
    // They go in batches, so that waking a worker costs little beside them.
    static constexpr std::size_t BatchSize = 8;
    struct Batch {
        std::size_t first = 0; // the input of its first picture
        std::size_t count = 0;
        std::future<std::vector<Picture>> reading;
        std::vector<Picture> pictures; // once read
    };

    void readAhead() {
        const std::size_t most = 2 * static_cast<std::size_t>(pool_.maxThreadCount());
        std::size_t at = ahead_.empty() ? next_ : ahead_.back().first + ahead_.back().count;
        while (ahead_.size() < most && at < inputs_.size() && !inputs_[at].video) {
            Batch batch;
            batch.first = at;
            std::vector<QByteArray> paths;
            for (; paths.size() < BatchSize && at < inputs_.size() && !inputs_[at].video; ++at)
                paths.push_back(inputs_[at].path);
            auto task = std::make_shared<std::packaged_task<std::vector<Picture>()>>(
                [paths = std::move(paths)] {
                    std::vector<Picture> pictures(paths.size());
                    for (std::size_t i = 0; i < paths.size(); ++i) {
                        if (!readFrame(paths[i], pictures[i].pixels, pictures[i].error))
                            break; // the frames after a bad one are never asked for
                    }
                    return pictures;
                });
            batch.count = at - batch.first;
            batch.reading = task->get_future();
            ahead_.push_back(std::move(batch));
            pool_.start([task] { (*task)(); });
        }
    }

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
    QThreadPool pool_;
    std::deque<Batch> ahead_; // the pictures from next_ on
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
