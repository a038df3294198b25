#include "platform/ProgramEnd.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

namespace platform {
namespace {
EndHandler& handlerSlot() {
    static EndHandler handler;
    return handler;
}

// By the order they were said in.
std::map<int, std::function<void()>>& lastWords() {
    static std::map<int, std::function<void()>> words;
    return words;
}

int nextWords = 0;
} // namespace

void endProgram(int status) {
    // Looked up one by one: the words that run may end others.
    std::vector<int> order;
    for (const auto& entry : lastWords())
        order.push_back(entry.first);
    for (const int id : order)
        if (const auto found = lastWords().find(id); found != lastWords().end())
            std::function<void()>(found->second)();
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

LastWords::LastWords(std::function<void()> words) : id_(nextWords++) {
    lastWords().emplace(id_, std::move(words));
}

LastWords::~LastWords() {
    lastWords().erase(id_);
}

} // namespace platform
