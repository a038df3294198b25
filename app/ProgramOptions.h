#pragma once
// The program's command line: recording the frames the analysis receives,
// for tuning the detection on them with vantorel-replay, and the help and
// version. The window itself takes no arguments.

#include <QString>
#include <QStringList>

namespace app {

struct ProgramOptions {
    QString recordFolder; // empty: nothing recorded
    bool recordAll = false;
    bool help = false;
    bool version = false;
};

// Parses the arguments after the program name. Read before QApplication
// starts, so that help, version and a bad option need no display: the Qt
// toolkit's own options (-platform, -style, ...) are let through for it to
// take. On a problem answers false with a message that names it.
bool parseProgramOptions(const QStringList& arguments, ProgramOptions& options, QString& error);

QString programUsage(const QString& program);

} // namespace app
