#include "tools/history/HistoryOptions.h"

#include <QCommandLineParser>

namespace history {

bool parseOptions(const QStringList& arguments, HistoryOptions& options, QString& error) {
    QCommandLineParser parser;
    // The tool's own usage text; Qt's help and version options would end the
    // process without checking that their text was written.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version(QStringLiteral("version"), QString());
    const QCommandLineOption csv(QStringLiteral("csv"), QString());
    const QCommandLineOption last(QStringLiteral("last"), QString(), QStringLiteral("N"));
    const QCommandLineOption since(QStringLiteral("since"), QString(), QStringLiteral("DATE"));
    const QCommandLineOption plot(QStringLiteral("plot"), QString(), QStringLiteral("FILE"));
    parser.addOptions({help, version, csv, last, since, plot});
    if (!parser.parse(QStringList(QStringLiteral("vantorel-history")) + arguments)) {
        error = parser.errorText();
        return false;
    }
    options.help = parser.isSet(help);
    options.version = parser.isSet(version);
    options.csv = parser.isSet(csv);
    if (parser.isSet(last)) {
        const QString text = parser.value(last);
        bool ok = false;
        options.last = text.toInt(&ok);
        if (!ok || options.last < 1) {
            error =
                QStringLiteral("option '--last' takes a whole number from 1, not '%1'").arg(text);
            return false;
        }
    }
    if (parser.isSet(since)) {
        const QString text = parser.value(since);
        options.since = QDate::fromString(text, Qt::ISODate);
        if (!options.since.isValid()) {
            error =
                QStringLiteral("option '--since' takes a date as YYYY-MM-DD, not '%1'").arg(text);
            return false;
        }
    }
    if (parser.isSet(plot)) { // the last one given counts
        const QString text = parser.value(plot);
        const QString lower = text.toLower();
        if (!lower.endsWith(QLatin1String(".png")) && !lower.endsWith(QLatin1String(".svg"))) {
            error = QStringLiteral("option '--plot' takes a file ending in .png or .svg, not '%1'")
                        .arg(text);
            return false;
        }
        options.plot = text;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        error = QStringLiteral("more than one history file given");
        return false;
    }
    if (!files.isEmpty()) {
        // An empty name is a mistake (an unset variable), not the default file.
        if (files[0].isEmpty()) {
            error = QStringLiteral("the history file's name is empty");
            return false;
        }
        options.file = files[0];
    }
    return true;
}

QString usageText() {
    return QStringLiteral(
        "Usage: vantorel-history [OPTIONS] [FILE]\n"
        "\n"
        "Shows the series that Vantorel has kept: a table of the date, the total,\n"
        "the decimal total (each shot's ring and the tenth of it that it reached\n"
        "towards the centre, as electronic targets count: 10.9 at best, a miss\n"
        "0.0) and the ten results of every series, then the number of series,\n"
        "the best, the mean of the last 10 and of all, and the trend (points per\n"
        "series), and the misses (results below 1, off the target) and the way\n"
        "they went.\n"
        "Below that, the group of the hits on the target: the mean point of\n"
        "impact (its distance and direction from the centre) and the group size\n"
        "(extreme spread and mean radius), in rings and in millimetres on the\n"
        "printed A4 target. Directions are as the program's target picture\n"
        "shows the holes.\n"
        "The strings of timed drills follow: their drill, total, time, hit factor\n"
        "(points per second) and shot times (a late one marked *), then the mean\n"
        "time to the first shot, the mean split and the best string.\n"
        "\n"
        "FILE is the history file; by default the program's own,\n"
        "$XDG_DATA_HOME/Vantorel/history.csv (~/.local/share/Vantorel/history.csv).\n"
        "\n"
        "Options:\n"
        "  --last N      only the last N series\n"
        "  --since DATE  only the series from DATE (YYYY-MM-DD) on\n"
        "  --plot FILE   also draw the totals over time and every hole on the target\n"
        "                (a miss as a cross on its edge), and the shot times of\n"
        "                timed strings, into FILE, a PNG or SVG\n"
        "                picture by its ending; the picture replaces FILE only once\n"
        "                it is complete\n"
        "  --csv         print the chosen lines of the history file instead, for a\n"
        "                spreadsheet\n"
        "  --help        show this text\n"
        "  --version     show the version\n"
        "\n"
        "Damaged lines of the file (a hand edit, a line cut short, a shot no target\n"
        "gives, a line longer than any series) are reported on stderr with their\n"
        "line number and skipped.\n"
        "\n"
        "Exit status: 0 when the history was shown, 1 when the output could not be\n"
        "written, 2 on a bad option, an unreadable history file or a plot that\n"
        "cannot be written.\n");
}

QString versionText() {
    return QStringLiteral("vantorel-history " VANTOREL_VERSION "\n");
}

} // namespace history
