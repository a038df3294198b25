#pragma once
// What the fuzz targets share: a headless Qt program with a scratch
// settings folder, and a capture window connected to a driver that reports
// whatever video format record the input gives and delivers whatever frame
// bytes it is handed.

#include "capture/CaptureRecords.h"
#include "tools/replay/ReplayDriver.h"

namespace fuzz {

// Once per process: the offscreen application and the settings folder.
void startQt();

// A capture window connected to the replay's driver at index 0, previewing,
// every pushed frame delivered at once; made on first use and kept.
struct FuzzCapture {
    capture::CaptureHandle window = 0;
    replay::ReplayDriver* driver = nullptr;
};
FuzzCapture& fuzzCapture();

} // namespace fuzz
