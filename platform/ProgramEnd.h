#pragma once
// Ending the program at once. The real ending flushes nothing further and
// leaves the process; tests replace it to watch the program end.

#include <functional>

namespace platform {

// Ends the process with the exit status (0: the user ended it, nonzero: it
// could not run) unless a test handler is installed; with a handler, runs it
// and returns, and the caller must do nothing more. Either way the last
// words said so far run first.
void endProgram(int status = 0);

// Replaces the real ending (tests, through a SeamGuard); empty restores it.
// Answers the handler it replaces.
using EndHandler = std::function<void(int status)>;
EndHandler setEndHandler(EndHandler handler);

// What is to be done just before the program ends (a window keeping its
// place, say), for as long as this lives. They run in the order said.
class LastWords {
public:
    explicit LastWords(std::function<void()> words);
    ~LastWords();
    LastWords(const LastWords&) = delete;
    LastWords& operator=(const LastWords&) = delete;

private:
    const int id_;
};

} // namespace platform
