#pragma once
// The camera's picture as the enhanced detection reads it: the 4:3 middle of
// a picture the reduction accepted, at full resolution, rows top-down,
// pointing into the picture's own planes; and a copy of one that outlives
// its planes (the replay decodes a video frame, then analyses it).

#include "capture/FullFrame.h"
#include "capture/service/FrameReduction.h"

#include <optional>
#include <vector>

namespace capture {

// The 4:3 middle of the picture, described in place. Meant for a picture
// that reducePicture accepted (its planes cover it); nothing for an empty one.
std::optional<FullFrame> describeFullFrame(const CameraPicture& picture);

// A full frame's samples in storage of its own.
class FullFrameCopy {
public:
    void assign(const FullFrame& frame);
    // Empty before the first assign.
    const FullFrame& frame() const { return frame_; }

private:
    std::vector<std::uint8_t> bytes_;
    FullFrame frame_;
};

} // namespace capture
