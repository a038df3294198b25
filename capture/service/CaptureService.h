#pragma once
// The capture service: driver descriptions, capture windows and their
// messages. The program talks to it only through these three calls; which
// drivers exist is decided by the driver source that main() (or a test)
// installs.

#include "capture/CaptureRecords.h"
#include "capture/service/CaptureDriver.h"

#include <cstdint>

class QWidget;

namespace capture {

class CaptureWindow;

// Installs the source of drivers for the whole process (main() and tests,
// through a SeamGuard); null removes it. Answers the source it replaces. The
// caller keeps ownership and must outlive every capture window.
CaptureDriverSource* installCaptureDriverSource(CaptureDriverSource* source);

// Writes the NUL-terminated name and version (at most the given lengths,
// terminator included) of the driver at the index; nonzero when it answers.
std::int32_t capGetDriverDescription(std::int16_t index, char* name, std::int32_t nameLength,
                                     char* version, std::int32_t versionLength);

// Creates a capture window as a child widget of the parent at a pixel
// rectangle; answers its handle, 0 on failure.
CaptureHandle capCreateCaptureWindow(const char* title, std::uint32_t style, std::int32_t x,
                                     std::int32_t y, std::int32_t width, std::int16_t height,
                                     QWidget* parent, std::int32_t id);

// Sends a capture message; answered at once. Handle 0, an unknown handle or
// a window without a connected driver answer 0.
CaptureAnswer SendCaptureMessage(CaptureHandle window, std::uint32_t message, std::int32_t wParam,
                                 std::intptr_t lParam);

// The widget behind a handle (tests, the simulated range); null if none.
CaptureWindow* findCaptureWindow(CaptureHandle window);

} // namespace capture
