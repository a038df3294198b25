#pragma once
// The program's command line: recording the frames the analysis receives,
// for tuning the detection on them with vantorel-replay. The window itself
// takes no arguments.

#include <QString>
#include <QStringList>

namespace app {

struct ProgramOptions {
    QString recordFolder; // empty: nothing recorded
    bool recordAll = false;
    bool help = false;
};

// Parses the arguments after the program name (Qt's own options already
// taken out); on a problem answers false with a message that names it.
bool parseProgramOptions(const QStringList& arguments, ProgramOptions& options, QString& error);

QString programUsage(const QString& program);

} // namespace app
