#pragma once
// Running the whole program on a set of capture drivers, shared by the camera
// program and the simulated range.

#include <QWidget>
#include <functional>
#include <memory>

namespace capture {
class CaptureDriverSource;
}

namespace app {

class Vantorel;

// Opens a window beside the main window once it shows (the range window).
using Companion = std::function<std::unique_ptr<QWidget>(Vantorel& window)>;

// Installs the drivers, loads the main window (which may end the program
// before it ever shows), shows it and runs the event loop until the end.
// Reads the command line first (see ProgramOptions.h). Needs a
// QApplication; answers the program's exit status, 2 for a bad option.
int runProgram(capture::CaptureDriverSource& drivers, const Companion& beside = {});

} // namespace app
