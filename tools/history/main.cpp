// vantorel-history: the series that the program kept, as a table with the
// statistics of the totals and of the group, a plot, or CSV lines.

#include "record/HistoryFile.h"
#include "tools/history/HistoryOptions.h"
#include "tools/history/HistoryPlot.h"
#include "tools/history/HistoryReport.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

namespace {

constexpr int exitBadInput = 2;

int fail(const QString& message) {
    std::fprintf(stderr, "vantorel-history: %s\n", qPrintable(message));
    return exitBadInput;
}

// The series from options.since on, then the last options.last of them.
std::vector<record::Series> chosen(std::vector<record::Series> series,
                                   const history::HistoryOptions& options) {
    if (options.since.isValid())
        std::erase_if(series, [&](const record::Series& one) {
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
        return fail(error);
    if (options.help) {
        std::fputs(qPrintable(history::usageText()), stdout);
        return 0;
    }
    const QString path = options.file.isEmpty() ? record::HistoryPath() : options.file;
    record::History history;
    if (options.file.isEmpty() && !QFileInfo::exists(path)) {
        std::printf("No series kept yet: %s does not exist.\n", qPrintable(path));
    } else if (!record::readHistory(path, history, error)) {
        return fail(error);
    }
    for (const record::DamagedLine& line : history.damaged)
        std::fprintf(stderr, "vantorel-history: %s:%lld: damaged line skipped: %s\n",
                     qPrintable(path), static_cast<long long>(line.number),
                     qPrintable(line.problem));

    const std::vector<record::Series> series = chosen(std::move(history.series), options);
    if (options.csv) {
        std::printf("%s\n", qPrintable(record::headerLine()));
        for (const record::Series& one : series)
            std::printf("%s\n", qPrintable(record::formatSeries(one)));
    } else if (series.empty()) {
        std::printf("No series to show.\n");
    } else {
        std::fputs(qPrintable(history::reportText(series)), stdout);
    }
    std::fflush(stdout);
    if (!options.plot.isEmpty() && !history::writePlot(options.plot, series, error))
        return fail(error);
    return 0;
}
