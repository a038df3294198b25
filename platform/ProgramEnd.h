#pragma once
// Ending the program at once. The real ending flushes nothing further and
// leaves the process; tests replace it to watch the program end.

#include <functional>

namespace platform {

// Ends the process with status 0 unless a test handler is installed; with a
// handler, runs it and returns, and the caller must do nothing more.
void endProgram();

// True once endProgram() has run (tests).
bool programEnded();

using EndHandler = std::function<void()>;
void setEndHandler(EndHandler handler); // empty restores the real ending
void resetProgramEnded();               // tests: start a new program run

} // namespace platform
