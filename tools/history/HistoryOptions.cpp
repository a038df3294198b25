#include "tools/history/HistoryOptions.h"

namespace history {

namespace {

bool takesValue(const QString& name) {
    return name == QLatin1String("--last") || name == QLatin1String("--since") ||
           name == QLatin1String("--plot");
}

bool setValue(const QString& name, const QString& text, HistoryOptions& options, QString& error) {
    if (name == QLatin1String("--last")) {
        bool ok = false;
        options.last = text.toInt(&ok);
        if (!ok || options.last < 1) {
            error =
                QStringLiteral("option '--last' takes a whole number from 1, not '%1'").arg(text);
            return false;
        }
    } else if (name == QLatin1String("--since")) {
        options.since = QDate::fromString(text, Qt::ISODate);
        if (!options.since.isValid()) {
            error =
                QStringLiteral("option '--since' takes a date as YYYY-MM-DD, not '%1'").arg(text);
            return false;
        }
    } else {
        const QString lower = text.toLower();
        if (!lower.endsWith(QLatin1String(".png")) && !lower.endsWith(QLatin1String(".svg"))) {
            error = QStringLiteral("option '--plot' takes a file ending in .png or .svg, not '%1'")
                        .arg(text);
            return false;
        }
        options.plot = text;
    }
    return true;
}

} // namespace

bool parseOptions(const QStringList& arguments, HistoryOptions& options, QString& error) {
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !argument.startsWith(QLatin1Char('-')) ||
            argument == QLatin1String("-")) {
            if (!options.file.isEmpty()) {
                error = QStringLiteral("more than one history file given");
                return false;
            }
            options.file = argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
        } else if (argument == QLatin1String("--csv")) {
            options.csv = true;
        } else {
            // "--name value" or "--name=value".
            const qsizetype equals = argument.indexOf(QLatin1Char('='));
            const QString name = equals < 0 ? argument : argument.left(equals);
            if (!takesValue(name)) {
                error = QStringLiteral("unknown option '%1'").arg(name);
                return false;
            }
            QString text;
            if (equals >= 0) {
                text = argument.mid(equals + 1);
            } else if (i + 1 < arguments.size()) {
                text = arguments[++i];
            } else {
                error = QStringLiteral("option '%1' needs a value").arg(name);
                return false;
            }
            if (!setValue(name, text, options, error))
                return false;
        }
    }
    return true;
}

QString usageText() {
    return QStringLiteral(
        "Usage: vantorel-history [OPTIONS] [FILE]\n"
        "\n"
        "Shows the series that Vantorel has kept: a table of the date, the total\n"
        "and the ten results of every series, then the number of series, the best,\n"
        "the mean of the last 10 and of all, and the trend (points per series).\n"
        "Below that, the group of every shot of those series: the mean point of\n"
        "impact (its distance and direction from the centre) and the group size\n"
        "(extreme spread and mean radius), in rings and in millimetres on the\n"
        "printed A4 target. Directions are as the program's target picture\n"
        "shows the holes.\n"
        "\n"
        "FILE is the history file; by default the program's own,\n"
        "$XDG_DATA_HOME/Vantorel/history.csv (~/.local/share/Vantorel/history.csv).\n"
        "\n"
        "Options:\n"
        "  --last N      only the last N series\n"
        "  --since DATE  only the series from DATE (YYYY-MM-DD) on\n"
        "  --plot FILE   also draw the totals over time and every hole on the target\n"
        "                into FILE, a PNG or SVG picture by its ending\n"
        "  --csv         print the chosen lines of the history file instead, for a\n"
        "                spreadsheet\n"
        "  --help        show this text\n"
        "\n"
        "Damaged lines of the file are reported on stderr with their line number\n"
        "and skipped.\n"
        "\n"
        "Exit status: 0 when the history was shown, 2 on a bad option, an\n"
        "unreadable history file or a plot that cannot be written.\n");
}

} // namespace history
