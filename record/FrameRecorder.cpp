#include "record/FrameRecorder.h"

#include "platform/NativeFiles.h"
#include "platform/NativeWrites.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <algorithm>
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
qint64 lastRun(const QByteArray& dir) {
    std::vector<QByteArray> names;
    QString ignored;
    platform::listFolders(dir, names, ignored);
    qint64 last = 0;
    for (const QByteArray& name : names) {
        const QByteArray digits = name.mid(4);
        // Nine digits at most: a larger number is not one of ours, and
        // counting on from it could run past the largest number.
        if (!name.startsWith("run-") || digits.isEmpty() || digits.size() > 9 ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        last = std::max(last, digits.toLongLong());
    }
    return last;
}

QString shown(const QByteArray& path) {
    return QFile::decodeName(path);
}

// The program's name for its messages: vantorel or vantorel-sim.
QString programName() {
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    return name.isEmpty() ? QStringLiteral("vantorel") : name;
}

} // namespace

std::unique_ptr<FrameRecorder> FrameRecorder::start(const QByteArray& dir, Mode mode,
                                                    QString& error) {
    QString reason;
    if (dir.isEmpty()) {
        error = QStringLiteral("no folder given");
        return nullptr;
    }
    if (!platform::makeFolders(dir, reason)) {
        error = QStringLiteral("cannot create the folder %1").arg(reason);
        return nullptr;
    }
    if (!platform::canCreateIn(dir, reason)) {
        error = QStringLiteral("cannot write into %1: %2").arg(shown(dir), reason);
        return nullptr;
    }
    return std::unique_ptr<FrameRecorder>(new FrameRecorder(dir, mode));
}

std::unique_ptr<FrameRecorder> FrameRecorder::start(const QString& dir, Mode mode, QString& error) {
    return start(QFile::encodeName(dir), mode, error);
}

FrameRecorder::FrameRecorder(QByteArray base, Mode mode) : base_(std::move(base)), mode_(mode) {
    while (base_.size() > 1 && base_.endsWith('/'))
        base_.chop(1);
}

QString FrameRecorder::folder() const {
    return shown(folder_);
}

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

void FrameRecorder::hitScored() {
    if (mode_ == Mode::AllFrames)
        return;
    for (const Kept& kept : recent_)
        write(kept.number, kept.bytes);
    recent_.clear();
    afterHit_ = FramesAroundHit;
}

bool FrameRecorder::makeRunFolder() {
    // mkdir fails on a folder that exists, so two programs started at once
    // still get a folder each.
    QString reason;
    for (qint64 number = lastRun(base_) + 1, tries = 0; tries < 100; ++number, ++tries) {
        const QByteArray name =
            base_ +
            QStringLiteral("/run-%1").arg(number, RunDigits, 10, QLatin1Char('0')).toLatin1();
        bool existed = false;
        if (platform::makeFolder(name, reason, &existed)) {
            folder_ = name;
            std::printf("%s: recording frames into %s\n", qPrintable(programName()),
                        folder_.constData());
            std::fflush(stdout);
            return true;
        }
        if (!existed)
            break;
    }
    stop(QStringLiteral("cannot create a run folder in %1: %2").arg(shown(base_), reason));
    return false;
}

void FrameRecorder::write(std::uint64_t number, std::span<const std::uint8_t> frame) {
    if (!error_.isEmpty() || (folder_.isEmpty() && !makeRunFolder()))
        return;
    // Blue, green, red is Qt's BGR888; rows bottom-up are a picture upside down.
    const QImage picture =
        QImage(frame.data(), Width, Height, RowBytes, QImage::Format_BGR888).mirrored(false, true);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG", FastCompression);
    const QByteArray path =
        folder_ +
        QStringLiteral("/frame-%1.png").arg(number, FrameDigits, 10, QLatin1Char('0')).toLatin1();
    // A frame the disk could not take whole is removed, so the recording
    // up to it still replays.
    QString reason;
    if (!platform::writeNewFile(path, png, reason))
        stop(QStringLiteral("cannot write %1: %2").arg(shown(path), reason));
}

void FrameRecorder::stop(const QString& why) {
    error_ = why;
    std::fprintf(stderr, "%s: %s; recording stopped\n", qPrintable(programName()),
                 qPrintable(error_));
}

} // namespace record
