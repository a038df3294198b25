#pragma once
// What the hit location needs of the main window: the target picture's height
// and the place to report a hit. The main window implements it; detection
// knows nothing else of the window.

#include <cstdint>

namespace MotionDetection {

class HitTarget {
public:
    virtual ~HitTarget() = default;
    // The hit's offset from the target centre in the window's units (twips),
    // x positive to the right and y upwards as the camera sees the target,
    // and its raw score.
    virtual void SetHole(std::int32_t x, std::int32_t y, double score) = 0;
    // Height of the target picture, in the same units.
    virtual float TargetHeight() const = 0;
};

// The window that receives hits; null drops every hit.
void setHitTarget(HitTarget* target);
HitTarget* hitTarget();

// While SetHole runs: the changed samples behind the hit grew darker, so the
// change was a laser's dot going out rather than coming on. The frame
// comparison sees both; a shooter who holds the trigger longer than the pause
// after a shot would otherwise score a second shot where the first went out.
// False for the enhanced detection, which reports a flash only as it comes on.
bool hitWentOut();

} // namespace MotionDetection
