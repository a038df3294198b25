#include "record/FrameRecorder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <cstdio>

namespace record {

namespace {

constexpr int Width = 160;
constexpr int Height = 120;
constexpr qsizetype RowBytes = qsizetype{Width} * 3;
constexpr std::size_t FrameBytes = std::size_t{RowBytes} * Height;
constexpr int RunDigits = 3;
// Qt's PNG quality 80 is zlib level 1: a noisy frame comes out 15 % larger
// than at the default level but is written five times as fast, which keeps
// recording every frame light on the main window's thread (bench/).
constexpr int FastCompression = 80;
constexpr int FrameDigits = 8; // fixed width, so name order is arrival order

// The highest number of the run-NNN folders in dir, 0 when there is none.
int lastRun(const QDir& dir) {
    int last = 0;
    for (const QString& name : dir.entryList({QStringLiteral("run-*")}, QDir::Dirs)) {
        bool ok = false;
        const int number = name.mid(4).toInt(&ok);
        if (ok)
            last = std::max(last, number);
    }
    return last;
}

} // namespace

std::unique_ptr<FrameRecorder> FrameRecorder::start(const QString& dir, Mode mode, QString& error) {
    QDir base(dir);
    if (!base.mkpath(QStringLiteral("."))) {
        error = QStringLiteral("cannot create the folder %1").arg(dir);
        return nullptr;
    }
    // mkdir fails on a folder that exists, so two programs started at once
    // still get a folder each.
    for (int number = lastRun(base) + 1, tries = 0; tries < 100; ++number, ++tries) {
        const QString name = QStringLiteral("run-%1").arg(number, RunDigits, 10, QLatin1Char('0'));
        if (base.mkdir(name))
            return std::unique_ptr<FrameRecorder>(
                new FrameRecorder(QDir::cleanPath(base.absoluteFilePath(name)), mode));
    }
    error = QStringLiteral("cannot create a run folder in %1").arg(dir);
    return nullptr;
}

FrameRecorder::FrameRecorder(QString folder, Mode mode) : folder_(std::move(folder)), mode_(mode) {}

void FrameRecorder::writeFrame(std::span<const std::uint8_t> frame) {
    if (frame.size() < FrameBytes || !error_.isEmpty())
        return;
    frame = frame.first(FrameBytes);
    const std::uint64_t number = arrived_++;
    if (mode_ == Mode::AllFrames || afterHit_ > 0) {
        if (afterHit_ > 0)
            --afterHit_;
        write(number, frame);
        return;
    }
    // The hit's own frame is kept too, so one more than a second's worth.
    if (recent_.size() > FramesAroundHit)
        recent_.pop_front();
    recent_.push_back({number, std::vector<std::uint8_t>(frame.begin(), frame.end())});
}

void FrameRecorder::HitScored() {
    if (mode_ == Mode::AllFrames)
        return;
    for (const Kept& kept : recent_)
        write(kept.number, kept.bytes);
    recent_.clear();
    afterHit_ = FramesAroundHit;
}

void FrameRecorder::write(std::uint64_t number, std::span<const std::uint8_t> frame) {
    if (!error_.isEmpty())
        return;
    // Blue, green, red is Qt's BGR888; rows bottom-up are a picture upside down.
    const QImage picture =
        QImage(frame.data(), Width, Height, RowBytes, QImage::Format_BGR888).mirrored(false, true);
    const QString path =
        folder_ + QStringLiteral("/frame-%1.png").arg(number, FrameDigits, 10, QLatin1Char('0'));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || !picture.save(&file, "PNG", 100)) {
        error_ = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        std::fprintf(stderr, "vantorel: %s; recording stopped\n", qPrintable(error_));
    }
}

} // namespace record
