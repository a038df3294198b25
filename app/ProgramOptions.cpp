#include "app/ProgramOptions.h"

namespace app {

bool parseProgramOptions(const QStringList& arguments, ProgramOptions& options, QString& error) {
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
        } else if (argument == QLatin1String("--record-all")) {
            options.recordAll = true;
        } else if (argument == QLatin1String("--record")) {
            if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
                error = QStringLiteral("option '--record' needs a folder");
                return false;
            }
            options.recordFolder = arguments[++i];
        } else if (argument.startsWith(QLatin1String("--record="))) {
            options.recordFolder = argument.mid(9);
            if (options.recordFolder.isEmpty()) {
                error = QStringLiteral("option '--record' needs a folder");
                return false;
            }
        } else if (argument.startsWith(QLatin1Char('-'))) {
            error = QStringLiteral("unknown option '%1'").arg(argument);
            return false;
        } else {
            error = QStringLiteral("unexpected argument '%1'").arg(argument);
            return false;
        }
    }
    if (options.recordAll && options.recordFolder.isEmpty() && !options.help) {
        error = QStringLiteral("option '--record-all' needs '--record FOLDER'");
        return false;
    }
    return true;
}

QString programUsage(const QString& program) {
    return QStringLiteral(
               "Usage: %1 [--record FOLDER [--record-all]]\n"
               "\n"
               "Laser-pointer target practice. Without options the program just starts.\n"
               "\n"
               "  --record FOLDER  write the frames that the shot detection receives\n"
               "                   (160 x 120 PNG pictures, numbered in arrival order)\n"
               "                   into a new folder FOLDER/run-NNN: the second before\n"
               "                   and the second after every shot that is scored\n"
               "  --record-all     write every frame instead (about 33 MB a minute)\n"
               "  --help           show this text\n"
               "\n"
               "Replay a recording with vantorel-replay FOLDER/run-NNN to tune the\n"
               "detection parameters.\n")
        .arg(program);
}

} // namespace app
