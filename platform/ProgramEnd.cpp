#include "platform/ProgramEnd.h"

#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {
EndHandler& handlerSlot() {
    static EndHandler handler;
    return handler;
}
bool ended = false;
} // namespace

void endProgram() {
    ended = true;
    if (const auto& handler = handlerSlot()) {
        handler();
        return;
    }
    // Settings are on disk after every save, so nothing is left to flush but
    // the standard streams; no later event of any window may run.
    std::fflush(nullptr);
    std::_Exit(0);
}

bool programEnded() {
    return ended;
}
void setEndHandler(EndHandler handler) {
    handlerSlot() = std::move(handler);
}
void resetProgramEnded() {
    ended = false;
}

} // namespace platform
