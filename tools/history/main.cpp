// vantorel-history: the series that the program kept, as a table with the
// statistics of the totals and of the group, a plot, or CSV lines; and the
// strings of timed drills with their times.

#include "platform/NativeArguments.h"
#include "record/HistoryFile.h"
#include "tools/history/HistoryOptions.h"
#include "tools/history/HistoryPlot.h"
#include "tools/history/HistoryReport.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr int ExitOutputLost = 1;
constexpr int ExitBadInput = 2;

int fail(const QString& message, int status = ExitBadInput) {
    std::fprintf(stderr, "vantorel-history: %s\n", qPrintable(message));
    return status;
}

// What was printed reached its reader (not a full disk or a closed pipe).
int outputStatus() {
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0)
        return 0;
    return fail(QStringLiteral("cannot write the output: %1")
                    .arg(QString::fromLocal8Bit(std::strerror(errno))),
                ExitOutputLost);
}

// The series (or strings) from options.since on, then the last
// options.last of them.
template <typename Kept>
std::vector<Kept> chosen(std::vector<Kept> series, const history::HistoryOptions& options) {
    if (options.since.isValid())
        std::erase_if(series, [&](const Kept& one) {
            return one.time.date() < options.since; // the date where it was shot
        });
    if (options.last > 0 && series.size() > static_cast<std::size_t>(options.last))
        series.erase(series.begin(), series.end() - options.last);
    return series;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);

    history::HistoryOptions options;
    QString error;
    if (!history::parseOptions(QGuiApplication::arguments().mid(1), options, error))
        return fail(error + QStringLiteral(" (see --help)"));
    if (options.help || options.version) {
        std::fputs(qPrintable(options.help ? history::usageText() : history::versionText()),
                   stdout);
        return outputStatus();
    }
    // Names as the system gave them: one that is not UTF-8 names its own file.
    const QByteArray path = options.file.isEmpty() ? QFile::encodeName(record::historyPath())
                                                   : platform::nativeArgument(options.file);
    record::History history;
    if (options.file.isEmpty() && !QFileInfo::exists(QFile::decodeName(path))) {
        std::printf("No series kept yet: %s does not exist.\n", path.constData());
    } else if (!record::readHistory(path, history, error)) {
        return fail(error);
    }
    for (const record::DamagedLine& line : history.damaged)
        std::fprintf(stderr, "vantorel-history: %s:%lld: damaged line skipped: %s\n",
                     path.constData(), static_cast<long long>(line.number),
                     qPrintable(line.problem));
    if (const qsizetype more = history.damagedCount - std::ssize(history.damaged); more > 0)
        std::fprintf(stderr, "vantorel-history: %s: %lld more damaged lines skipped\n",
                     path.constData(), static_cast<long long>(more));

    const std::vector<record::Series> series = chosen(std::move(history.series), options);
    const std::vector<record::TimedString> strings = chosen(std::move(history.strings), options);
    if (options.csv) {
        std::printf("%s\n", qPrintable(record::headerLine()));
        for (const record::Series& one : series)
            std::printf("%s\n", qPrintable(record::formatSeries(one)));
        if (!strings.empty())
            std::printf("%s\n", qPrintable(record::timedHeaderLine()));
        for (const record::TimedString& one : strings)
            std::printf("%s\n", qPrintable(record::formatTimedString(one)));
    } else if (series.empty() && strings.empty()) {
        std::printf("No series to show.\n");
    } else {
        if (!series.empty())
            std::fputs(qPrintable(history::reportText(series)), stdout);
        if (!series.empty() && !strings.empty())
            std::fputs("\n", stdout);
        if (!strings.empty())
            std::fputs(qPrintable(history::timedReportText(strings)), stdout);
    }
    if (const int status = outputStatus(); status != 0)
        return status;
    if (!options.plot.isEmpty() &&
        !history::writePlot(platform::nativeArgument(options.plot), series, strings, error))
        return fail(error);
    return 0;
}
