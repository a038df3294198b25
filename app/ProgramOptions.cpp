#include "app/ProgramOptions.h"

#include <QCommandLineParser>

namespace app {

namespace {

// The options QApplication takes out of the command line for itself: those
// that take a value, then those that do not.
constexpr const char* QtValueOptions[] = {
    "display",       "geometry", "icon",          "platform",        "platformpluginpath",
    "platformtheme", "plugin",   "qmljsdebugger", "qwindowgeometry", "qwindowicon",
    "qwindowtitle",  "session",  "style",         "stylesheet",      "title"};
constexpr const char* QtFlagOptions[] = {"dograb", "nograb", "reverse", "testability",
                                         "widgetcount"};

void addQtOptions(QCommandLineParser& parser) {
    for (const char* name : QtValueOptions) {
        QCommandLineOption option(QLatin1String(name), {}, QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : QtFlagOptions) {
        QCommandLineOption option{QLatin1String(name)};
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

// The parser's complaint as the user wrote the option ("--bogus", not
// "bogus"), in the program's own words where it has them.
QString parseError(const QCommandLineParser& parser, const QStringList& arguments) {
    if (parser.unknownOptionNames().isEmpty()) {
        QString text = parser.errorText(); // "Missing value after '--record'."
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
        return text.isEmpty() ? text : text.front().toLower() + text.mid(1);
    }
    const QString name = parser.unknownOptionNames().constFirst();
    for (const QString& argument : arguments) {
        const QString written = argument.section(QLatin1Char('='), 0, 0);
        if (written.startsWith(QLatin1Char('-')) &&
            QStringView(written).mid(written.startsWith(QLatin1String("--")) ? 2 : 1) == name)
            return QStringLiteral("unknown option '%1'").arg(written);
    }
    return QStringLiteral("unknown option '%1'").arg(name);
}

} // namespace

bool parseProgramOptions(const QStringList& arguments, ProgramOptions& options, QString& error) {
    QCommandLineParser parser;
    // "-platform xcb", as Qt spells its options, is one option, not eight.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption record(QStringLiteral("record"), {}, QStringLiteral("FOLDER"));
    const QCommandLineOption recordAll(QStringLiteral("record-all"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({record, recordAll, help, version});
    addQtOptions(parser);
    // The parser expects the program's name first.
    if (!parser.parse(QStringList(QString()) + arguments)) {
        error = parseError(parser, arguments);
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("unexpected argument '%1'")
                    .arg(parser.positionalArguments().constFirst());
        return false;
    }
    options.help = parser.isSet(help);
    options.version = parser.isSet(version);
    options.recordAll = parser.isSet(recordAll);
    if (parser.isSet(record)) {
        options.recordFolder = parser.value(record);
        if (options.recordFolder.isEmpty()) {
            error = QStringLiteral("option '--record' needs a folder");
            return false;
        }
    }
    if (options.recordAll && options.recordFolder.isEmpty() && !options.help && !options.version) {
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
               "  --version        show the program's version\n"
               "\n"
               "Replay a recording with vantorel-replay FOLDER/run-NNN to tune the\n"
               "detection parameters.\n")
        .arg(program);
}

} // namespace app
