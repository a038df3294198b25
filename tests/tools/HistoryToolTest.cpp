// vantorel-history as a shooter runs it: the table and statistics of a
// hand-computed history, the choice of series, CSV, plots, and bad input.

#include "tests/tools/ToolProcess.h"

#include <QImage>
#include <QSvgRenderer>
#include <fstream>
#include <gtest/gtest.h>

namespace {

// Three series with totals 80, 86 and 90. The last one has five holes 600
// twips (2 rings) right of the centre and five 600 twips above it (the
// window puts a hole at the centre plus X), each scoring 8.0, result 9.
QString shots(const char* shot, int count) {
    QString text;
    for (int k = 0; k < count; ++k)
        text += QLatin1Char(',') + QLatin1String(shot);
    return text;
}
const QString header = "time" + [] {
    QString columns;
    for (int k = 1; k <= 10; ++k)
        columns += QStringLiteral(",result%1,score%1,x%1,y%1").arg(k);
    return columns;
}() + ",total";
const QString series1 = "2026-11-01T19:00:00+01:00" + shots("8,7.5000,-750,0", 10) + ",80";
const QString series2 =
    "2026-11-15T19:00:00+01:00" + shots("9,8.5000,-450,0", 6) + shots("8,7.5000,0,750", 4) + ",86";
const QString series3 =
    "2026-12-01T20:30:00+01:00" + shots("9,8.0000,600,0", 5) + shots("9,8.0000,0,600", 5) + ",90";

class HistoryTool : public ToolProcess {
protected:
    HistoryTool() : ToolProcess(QStringLiteral(VANTOREL_HISTORY_TOOL)) {}
    void SetUp() override {
        std::ofstream(file.toStdString())
            << (QStringList{header, series1, series2, "1,2,3", series3}.join('\n') + '\n')
                   .toStdString();
    }
    const QString file = home.filePath("history.csv");
};

TEST_F(HistoryTool, TableAndStatisticsOfAHandComputedHistory) {
    const auto [status, out, err] = run({file});
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(err.contains("history.csv:4: damaged line skipped: 3 fields instead of 42"))
        << err.toStdString();
    for (const char* line : {"2026-11-15 19:00     86   9   9   9   9   9   9   8   8   8   8\n",
                             "\nSeries: 3\nBest: 90 (2026-12-01 20:30)\nMean of the last 3: 85.3\n"
                             "Mean of all: 85.3\nTrend: +5.00 points per series\n"})
        EXPECT_TRUE(out.contains(line)) << out.toStdString();

    // The last series: mean point (300, 300) twips, 1.41 rings; the two
    // groups of holes 849 twips apart; every hole 424 twips from the mean point.
    const auto [lastStatus, lastOut, lastErr] = run({"--last", "1", file});
    EXPECT_TRUE(lastOut.endsWith(
        "Group of 10 holes (A4 target)\n"
        "Mean point of impact: 1.41 rings (12.9 mm) from the centre, 1.00 rings (9.1 mm) "
        "right, 1.00 rings (9.1 mm) high\n"
        "Extreme spread: 2.83 rings (25.7 mm)\n"
        "Mean radius: 1.41 rings (12.9 mm)\n"))
        << lastOut.toStdString();

    const auto [sinceStatus, sinceOut, sinceErr] = run({"--since=2026-11-15", file});
    EXPECT_TRUE(sinceOut.contains("Series: 2\n") && sinceOut.contains("Trend: +4.00 points"));
    const auto [csvStatus, csvOut, csvErr] = run({"--csv", "--last=2", file});
    EXPECT_EQ(csvOut, header + '\n' + series2 + '\n' + series3 + '\n');
}

TEST_F(HistoryTool, PlotsArePngOrSvg) {
    const auto [status, out, err] =
        run({"--plot", home.filePath("plot.png"), "--plot=" + home.filePath("plot.svg"), file});
    EXPECT_EQ(status, 0) << err.toStdString();
    // Only the last --plot counts.
    EXPECT_FALSE(QFile::exists(home.filePath("plot.png")));
    const QSvgRenderer svg(home.filePath("plot.svg"));
    EXPECT_TRUE(svg.isValid() && svg.viewBox() == QRect(0, 0, 960, 500));

    run({"--last", "1", "--plot", home.filePath("plot.png"), file});
    const QImage png(home.filePath("plot.png"));
    EXPECT_EQ(png.size(), QSize(960, 500));
    // The target picture's centre is at (730, 250): holes 40 pixels right of
    // it and above it, none left of it.
    EXPECT_LT(qGray(png.pixel(770, 250)), 100);
    EXPECT_LT(qGray(png.pixel(730, 210)), 100);
    EXPECT_GT(qGray(png.pixel(690, 250)), 100);
}

TEST_F(HistoryTool, BadInputAndNoHistoryYet) {
    const auto [status, out, err] = run({});
    EXPECT_TRUE(status == 0 && out.startsWith("No series kept yet: " + home.filePath("d")));
    const std::pair<QStringList, const char*> rows[] = {
        {{"--bogus", file}, "unknown option '--bogus'"},
        {{"--last", "0", file}, "'--last' takes a whole number from 1, not '0'"},
        {{file, "--since"}, "option '--since' needs a value"},
        {{"--since", "2026-13-01", file}, "as YYYY-MM-DD, not '2026-13-01'"},
        {{"--plot", "plot.jpg", file}, "ending in .png or .svg, not 'plot.jpg'"},
        {{file, file}, "more than one history file"},
        {{home.filePath("none.csv")}, "cannot read"},
        {{home.path()}, "not a regular file"},
        {{"--plot", home.filePath("no/folder.png"), file}, "cannot write"},
    };
    for (const auto& [arguments, message] : rows) {
        const auto [rowStatus, rowOut, rowErr] = run(arguments);
        EXPECT_TRUE(rowStatus == 2 && rowErr.contains(message))
            << message << ": " << rowErr.toStdString();
    }
}

} // namespace
