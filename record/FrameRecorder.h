#pragma once
// Records the frames that the frame analysis receives, for tuning the
// detection on them later with vantorel-replay: 160 x 120, 24 bits, as
// lossless PNG files numbered in arrival order, in a new numbered run folder
// for every start (DIR/run-001, DIR/run-002, ...), never overwriting a file.
//
// Around hits (the default) it keeps the last second of frames and writes
// them, the hit's frame and the second after it, for every hit that reaches
// the score card; otherwise it writes every frame.

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

    // Makes the next free run folder under dir (creating dir if needed);
    // null with the reason when that fails.
    static std::unique_ptr<FrameRecorder> start(const QString& dir, Mode mode, QString& error);

    // One frame as the analysis gets it: 160 x 120, 3 bytes a pixel (blue,
    // green, red), rows bottom-up. Frames of another size are not recorded.
    void writeFrame(std::span<const std::uint8_t> frame);
    // The frame just passed to Frame made a hit that the score card counted.
    void HitScored();

    QString folder() const { return folder_; }
    // The last write failure; recording stops at the first one.
    const QString& error() const { return error_; }

private:
    FrameRecorder(QString folder, Mode mode);
    struct Kept {
        std::uint64_t number;
        std::vector<std::uint8_t> bytes;
    };
    void write(std::uint64_t number, std::span<const std::uint8_t> frame);

    QString folder_;
    Mode mode_;
    std::uint64_t arrived_ = 0; // frames seen, the number of the next one
    std::deque<Kept> recent_;   // around hits: the frames not yet written
    int afterHit_ = 0;          // frames still to write after the last hit
    QString error_;
};

} // namespace record
