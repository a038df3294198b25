#pragma once
// Opening documents and web addresses with the desktop's default program.
// Tests replace the opener and read what was asked.

#include <QString>
#include <functional>

namespace platform {

// Asks the desktop to open a web address; returns at once without waiting
// for the program that opens it. True when the request was handed over.
bool openAddress(const QString& address);

// Asks the desktop to open a local file, only when it names a program for
// the file's type, and returns at once: the question runs beside the event
// loop (a slow desktop never holds the window), and `done` is told later,
// from the event loop, whether the request was handed over. A file that is
// not there is never handed over.
using OpenDone = std::function<void(bool opened)>;
void openFile(const QString& path, OpenDone done);

// Receives every request instead of the desktop (tests, through a
// SeamGuard); empty restores it. Answers the handler it replaces. For a
// file, `done` is told its answer at once.
using OpenHandler = std::function<bool(const QString& target, bool isFile)>;
OpenHandler setOpenHandler(OpenHandler handler);

} // namespace platform
