#pragma once
// Opening documents and web addresses with the desktop's default program.
// Tests replace the opener and read what was asked.

#include <QString>
#include <functional>

namespace platform {

// Asks the desktop to open a web address or a local file; returns at once
// without waiting for the program that opens it. True when the request was
// handed over; for a file, only when the desktop names a program for its
// type.
bool openAddress(const QString& address);
bool openFile(const QString& path);

// Receives every request instead of the desktop (tests, through a
// SeamGuard); empty restores it. Answers the handler it replaces.
using OpenHandler = std::function<bool(const QString& target, bool isFile)>;
OpenHandler setOpenHandler(OpenHandler handler);

} // namespace platform
