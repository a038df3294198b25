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

void endProgram(int status) {
    if (const auto& handler = handlerSlot()) {
        handler(status);
        return;
    }
    // Settings are on disk after every save, so nothing is left to flush but
    // the standard streams; no later event of any window may run.
    std::fflush(nullptr);
    std::_Exit(status);
}

EndHandler setEndHandler(EndHandler handler) {
    return std::exchange(handlerSlot(), std::move(handler));
}

} // namespace platform
