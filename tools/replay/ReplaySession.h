#pragma once
// One run of frames through a capture window and the frame analysis, as a
// camera would deliver them: the replay tool, the tuner and the footage
// benchmark push frames and read the hits each one made. Needs a
// QApplication; the detection parameters are saved as the setters do, so the
// caller points the settings store somewhere harmless first.

#include "capture/CaptureRecords.h"
#include "capture/FullFrame.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace capture {
class HeadlessCaptureWindow;
}

namespace replay {

class ReplayDriverSource;

struct Parameters {
    std::int32_t sampleEvery = 1;
    std::int32_t compareEvery = 1;
    std::int32_t tolerance = 50;
    std::int32_t maxBeam = 20;
    bool enhanced = false; // the enhanced detection instead of the standard analysis
};

// A hit as the analysis hands it to the main window.
struct Hit {
    std::int32_t x = 0; // twips on a 6000-twip target, positive to the right
    std::int32_t y = 0; // positive upwards
    double score = 0;
};

class ReplaySession {
public:
    // Starts from an empty frame state, with the given parameters.
    explicit ReplaySession(const Parameters& parameters);
    ~ReplaySession();
    ReplaySession(const ReplaySession&) = delete;
    ReplaySession& operator=(const ReplaySession&) = delete;

    // False when the capture window could not be set up.
    bool connected() const { return connected_; }

    // Runs one 160 x 120 x 24 frame through the analysis, with the camera's
    // picture it was reduced from when there is one (the enhanced detection
    // reads that); the hit it made, if any. The first frame is compared with
    // an empty picture, not with a recorded one, so a bright spot in it is no
    // shot.
    std::optional<Hit> push(std::vector<std::uint8_t>& frame,
                            const capture::FullFrame* picture = nullptr);

private:
    class Target;
    std::unique_ptr<ReplayDriverSource> source_;
    std::unique_ptr<Target> target_;
    std::unique_ptr<capture::HeadlessCaptureWindow> window_; // goes before the source
    bool connected_ = false;
    std::int64_t frames_ = 0;
};

} // namespace replay
