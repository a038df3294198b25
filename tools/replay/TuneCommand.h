#pragma once
// vantorel-replay --tune: the whole recording into memory, the search, the
// check with the frame analysis, the report and, with --apply, the values
// into the settings.

#include "tools/replay/FrameSource.h"

#include <cstdint>
#include <functional>

namespace replay {

// Answers the exit status (ToolOutput.h). The settings store must point
// somewhere harmless while the analysis runs; useUserSettings points it back
// at the user's own before --apply stores the values.
int runTune(FrameSource& frames, std::int32_t shots, bool apply,
            const std::function<void()>& useUserSettings);

} // namespace replay
