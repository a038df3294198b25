#include "platform/ProgramEnd.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace platform {
namespace {
EndHandler& handlerSlot() {
    static EndHandler handler;
    return handler;
}
} // namespace

void endProgram() {
    if (const auto& handler = handlerSlot()) {
        handler();
        return;
    }
    // Settings are on disk after every save, so nothing is left to flush but
    // the standard streams; no later event of any window may run.
    std::fflush(nullptr);
    std::_Exit(0);
}

EndHandler setEndHandler(EndHandler handler) {
    return std::exchange(handlerSlot(), std::move(handler));
}

} // namespace platform
