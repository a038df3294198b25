#include "tools/replay/FrameSource.h"

#include "tools/replay/FrameFiles.h"

namespace replay {

namespace {

class PathFrames : public FrameSource {
public:
    explicit PathFrames(std::vector<QByteArray> files) : files_(std::move(files)) {}

    bool next(SourceFrame& frame, QString& error) override {
        error.clear();
        if (next_ >= files_.size())
            return false;
        if (!readFrame(files_[next_], frame.pixels, error))
            return false;
        frame.seconds = static_cast<double>(next_) * PictureSeconds;
        frame.cameraSize = QSize(160, 120);
        ++next_;
        return true;
    }

private:
    std::vector<QByteArray> files_;
    std::size_t next_ = 0;
};

} // namespace

std::unique_ptr<FrameSource> FrameSource::open(const std::vector<QByteArray>& paths,
                                               QString& error) {
    std::vector<QByteArray> files;
    if (!listFrameFiles(paths, files, error))
        return nullptr;
    return std::make_unique<PathFrames>(std::move(files));
}

} // namespace replay
