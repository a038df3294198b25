#pragma once
// Running the whole program on a set of capture drivers, shared by the camera
// program and the simulated range.

#include "app/ProgramOptions.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

namespace capture {
class CaptureDriverSource;
}

namespace app {

class Vantorel;

// Opens a window beside the main window once it shows (the range window).
using Companion = std::function<std::unique_ptr<QWidget>(Vantorel& window)>;

// Reads the command line (see ProgramOptions.h) before QApplication exists,
// and answers what needs no window: the help or the version on stdout, a
// bad option on stderr. Answers the exit status when the program ends here
// (0; 1 when stdout cannot be written; 2 for a bad option), nothing when it
// is to run.
std::optional<int> readCommandLine(const QString& program, int argc, const char* const* argv,
                                   ProgramOptions& options);

// Installs the drivers, loads the main window (which may end the program
// before it ever shows), shows it and runs the event loop until the end.
// Needs a QApplication; answers the program's exit status, 2 when the
// recording cannot start.
int runProgram(const QString& program, const ProgramOptions& options,
               capture::CaptureDriverSource& drivers, const Companion& beside = {});

} // namespace app
