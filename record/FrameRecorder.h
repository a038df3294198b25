#pragma once
// Records the frames that the frame analysis receives, for tuning the
// detection on them later with vantorel-replay: 160 x 120, 24 bits, as
// lossless PNG files numbered in arrival order, in a new numbered run folder
// for every start (DIR/run-001, DIR/run-002, ...), never overwriting a file.
// The run folder is made when the first frame is written, so a start that
// records nothing leaves nothing behind.
//
// Around hits (the default) it keeps the last second of frames and writes
// them, the hit's frame and the second after it, for every hit that reaches
// the score card; otherwise it writes every frame.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <vector>

namespace record {

class FrameRecorder {
public:
    enum class Mode { AroundHits, AllFrames };
    // The preview runs at 30 frames a second: a second either side of a hit.
    static constexpr int FramesAroundHit = 30;

    // Makes dir (and the folders above it) where it is missing; null with
    // the reason when that fails or nothing can be created in it. dir is
    // named by the system's bytes; the QString form is for names in UTF-8.
    static std::unique_ptr<FrameRecorder> start(const QByteArray& dir, Mode mode, QString& error);
    static std::unique_ptr<FrameRecorder> start(const QString& dir, Mode mode, QString& error);

    // One frame as the analysis gets it: 160 x 120, 3 bytes a pixel (blue,
    // green, red), rows bottom-up. Frames of another size are not recorded.
    void writeFrame(std::span<const std::uint8_t> frame);
    // The frame just passed to Frame made a hit that the score card counted.
    void hitScored();

    // The run folder, once the first frame made it; empty before.
    QString folder() const;
    // The last write failure; recording stops at the first one.
    const QString& error() const { return error_; }

private:
    FrameRecorder(QByteArray base, Mode mode);
    struct Kept {
        std::uint64_t number;
        std::vector<std::uint8_t> bytes;
    };
    bool makeRunFolder();
    void write(std::uint64_t number, std::span<const std::uint8_t> frame);
    void stop(const QString& why);

    QByteArray base_;   // DIR, as the system names it
    QByteArray folder_; // DIR/run-NNN once made
    Mode mode_;
    std::uint64_t arrived_ = 0; // frames seen, the number of the next one
    std::deque<Kept> recent_;   // around hits: the frames not yet written
    int afterHit_ = 0;          // frames still to write after the last hit
    QString error_;
};

} // namespace record
