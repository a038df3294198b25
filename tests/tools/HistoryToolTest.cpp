// vantorel-history as a shooter runs it: the table and statistics of a
// hand-computed history, the choice of series, CSV, plots, bad input, odd
// files in the plot's place, full disks and names of any bytes.

#include "tests/fixtures/ScratchHome.h"
#include "tests/fixtures/SmallDisk.h"
#include "tests/tools/ToolProcess.h"

#include <QFileInfo>
#include <QImage>
#include <QSvgRenderer>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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
    // The decimal total: six shots 9.5 (score 8.5), four 8.5 (score 7.5).
    for (const char* line :
         {"Date              Total Decimal   1   2   3",
          "2026-11-15 19:00     86    91.0   9   9   9   9   9   9   8   8   8   8\n",
          "\nSeries: 3\nBest: 90 (2026-12-01 20:30)\nMean of the last 3: 85.3\n"
          "Mean of all: 85.3\nTrend: +5.00 points per series\n"})
        EXPECT_TRUE(out.contains(line)) << out.toStdString();

    // The last series: mean point (300, 300) twips, 1.41 rings; the two
    // groups of holes 849 twips apart; every hole 424 twips from the mean point.
    const auto [lastStatus, lastOut, lastErr] = run({"--last", "1", file});
    EXPECT_TRUE(lastOut.endsWith(
        "Misses: none of 10 shots\n"
        "\nGroup of 10 holes on the target (A4 target)\n"
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

// A miss (a result below 1, off the target) stays in the table, the totals
// and the CSV, but not in the group: the mean point and the spread are of the
// hits alone, and the misses are counted apart by the way they went. The
// plot marks them on the target's edge, never where the camera saw them.
TEST_F(HistoryTool, MissesAreCountedApartFromTheGroup) {
    // Series 3's holes (mean point (300, 300)) and two misses, one far left,
    // one high: 8 x 9 - 3 - 1.
    const QString withMisses = "2026-12-02T20:30:00+01:00" + shots("9,8.0000,600,0", 4) +
                               shots("9,8.0000,0,600", 4) + shots("-3,-3.3333,-4000,0", 1) +
                               shots("-1,-2.0000,0,3600", 1) + ",68";
    // Only misses, one each way and two more that lean less than 22.5 degrees.
    QString allMisses = "2026-12-03T20:30:00+01:00";
    for (const char* place : {"3600,0", "3000,3000", "0,3600", "-3000,3000", "-3600,0",
                              "-3000,-3000", "0,-3600", "3000,-3000", "4000,1000", "1000,4000"})
        allMisses += ",-1,-2.0000," + QLatin1String(place);
    allMisses += ",-10";
    std::ofstream(file.toStdString())
        << (QStringList{header, series3, withMisses, allMisses}.join('\n') + '\n').toStdString();

    const auto [status, out, err] = run({"--last=2", "--plot", home.filePath("plot.png"), file});
    EXPECT_EQ(status, 0) << err.toStdString();
    // The decimal total counts a miss as 0.0, as electronic targets do.
    EXPECT_TRUE(
        out.contains("2026-12-02 20:30     68    72.0   9   9   9   9   9   9   9   9  -3  -1\n"
                     "2026-12-03 20:30    -10     0.0  -1  -1  -1  -1  -1  -1  -1  -1  -1  -1\n"))
        << out.toStdString();
    EXPECT_TRUE(out.contains("Mean of all: 29.0\n"
                             "Trend: -78.00 points per series\n"
                             "Misses: 12 of 20 shots went off the target: 2 right, 1 high right, "
                             "3 high, 1 high left, 2 left, 1 low left, 1 low, 1 low right\n"
                             "\nGroup of 8 holes on the target (A4 target)\n"
                             "Mean point of impact: 1.41 rings (12.9 mm) from the centre, "
                             "1.00 rings (9.1 mm) right, 1.00 rings (9.1 mm) high\n"
                             "Extreme spread: 2.83 rings (25.7 mm)\n"
                             "Mean radius: 1.41 rings (12.9 mm)\n"))
        << out.toStdString();

    // The plot of the series with two misses: the hits 40 pixels right of
    // and above the centre (730, 250); the left miss, 267 pixels out, would
    // lie over the totals (which end at x = 480): it is marked on the edge,
    // as the high one is.
    const QString two = home.filePath("two-misses.csv");
    std::ofstream(two.toStdString()) << (header + '\n' + withMisses + '\n').toStdString();
    const auto [plotStatus, plotOut, plotErr] = run({"--plot", home.filePath("plot.png"), two});
    EXPECT_TRUE(plotStatus == 0 && plotOut.contains("Misses: 2 of 10 shots went off the target: "
                                                    "1 high, 1 left\n"))
        << plotOut.toStdString();
    const QImage png(home.filePath("plot.png"));
    ASSERT_EQ(png.size(), QSize(960, 500));
    EXPECT_LT(qGray(png.pixel(770, 250)), 100);
    EXPECT_LT(qGray(png.pixel(730, 210)), 100);
    EXPECT_EQ(png.pixel(463, 250), qRgb(255, 255, 255)) << "nothing over the totals";
    for (const QPoint mark : {QPoint(536, 250), QPoint(730, 56)}) {
        const QRgb pixel = png.pixel(mark);
        EXPECT_TRUE(qRed(pixel) > 150 && qBlue(pixel) < 80 && qGreen(pixel) < 160)
            << mark.x() << "," << mark.y() << ": " << std::hex << pixel;
    }

    // No hit at all: no group, and still a plot.
    const auto [noneStatus, noneOut, noneErr] =
        run({"--last", "1", "--plot", home.filePath("plot.svg"), file});
    EXPECT_TRUE(noneStatus == 0 &&
                noneOut.endsWith("Misses: 10 of 10 shots went off the target: 2 right, 1 high "
                                 "right, 2 high, 1 high left, 1 left, 1 low left, 1 low, 1 low "
                                 "right\n\nGroup: no hole on the target\n"))
        << noneOut.toStdString();
    EXPECT_TRUE(QSvgRenderer(home.filePath("plot.svg")).isValid());

    const auto [csvStatus, csvOut, csvErr] = run({"--csv", file});
    EXPECT_EQ(csvOut, QStringList({header, series3, withMisses, allMisses}).join('\n') + '\n');
}

// Timed strings among the series, under their own header: listed with their
// drill, total, time, hit factor and shot times (a late one marked), the
// mean first shot, the mean split and the best string by hit factor; in the
// CSV after the series; and a panel of their times below the plot.
TEST_F(HistoryTool, TimedStringsWithTheirTimesSplitsAndBestString) {
    QString timedHeader = "time,drill,par,string,shots";
    for (int k = 1; k <= 10; ++k)
        timedHeader += QStringLiteral(",result%1,score%1,x%1,y%1,time%1").arg(k);
    timedHeader += ",total";
    const auto empty = [](int places) { return QString(places * 5, QLatin1Char(',')); };
    // Five shots a second apart from 2 s: four splits of 1 s, 45 in 6 s.
    const QString fives = "2026-12-02T18:00:00+01:00,25 m 20 s,20.000,1,5,9,8.5000,0,0,2.000,"
                          "9,8.5000,0,0,3.000,9,8.5000,0,0,4.000,9,8.5000,0,0,5.000,"
                          "9,8.5000,0,0,6.000" +
                          empty(5) + ",45";
    const QString draw1 = "2026-12-03T18:00:00+01:00,Draw and shoot 1.5 s par,1.500,1,1,"
                          "10,9.5000,0,0,1.250" +
                          empty(9) + ",10";
    const QString draw2 = "2026-12-03T18:05:00+01:00,Draw and shoot 1.5 s par,1.500,2,1,"
                          "8,7.5000,0,0,1.600" +
                          empty(9) + ",8";
    std::ofstream(file.toStdString())
        << (QStringList{header, series1, timedHeader, fives, draw1, series2, timedHeader, draw2}
                .join('\n') +
            '\n')
               .toStdString();
    const auto [status, out, err] = run({file});
    EXPECT_EQ(status, 0) << err.toStdString();
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
    EXPECT_TRUE(out.contains("\nSeries: 2\n")) << out.toStdString();
    EXPECT_TRUE(out.endsWith(
        "Timed strings\n"
        "Date              Drill                     String Total   Time     HF  Shot times (s, "
        "* late)\n"
        "2026-12-02 18:00  25 m 20 s                      1    45   6.00   7.50  2.00 3.00 4.00 "
        "5.00 6.00\n"
        "2026-12-03 18:00  Draw and shoot 1.5 s par       1    10   1.25   8.00  1.25\n"
        "2026-12-03 18:05  Draw and shoot 1.5 s par       2     8   1.60   5.00  1.60*\n"
        "\nStrings: 3\n"
        "Mean first shot: 1.62 s\n"
        "Mean split: 1.00 s\n"
        "Best string: 10 in 1.25 s, hit factor 8.00 (2026-12-03 18:00, Draw and shoot 1.5 s par "
        "string 1)\n"))
        << out.toStdString();

    const auto [csvStatus, csvOut, csvErr] = run({"--csv", "--since=2026-12-03", file});
    EXPECT_EQ(csvOut, header + '\n' + timedHeader + '\n' + draw1 + '\n' + draw2 + '\n');

    const auto [plotStatus, plotOut, plotErr] = run({"--plot", home.filePath("times.png"), file});
    ASSERT_EQ(plotStatus, 0) << plotErr.toStdString();
    const QImage png(home.filePath("times.png"));
    EXPECT_EQ(png.size(), QSize(960, 800));
    // Below the totals and the target: the late shot of the third string in
    // red at 1.6 s (a scale of 0 to 6 s over 220 pixels up from 760).
    const QRgb late = png.pixel(785, 701);
    EXPECT_TRUE(qRed(late) > 150 && qGreen(late) < 100) << std::hex << late;
}

TEST_F(HistoryTool, BadInputAndNoHistoryYet) {
    const auto [status, out, err] = run({});
    EXPECT_TRUE(status == 0 && out.startsWith("No series kept yet: " + home.filePath("d")));
    const std::pair<QStringList, const char*> rows[] = {
        {{"--bogus", file}, "Unknown option 'bogus'"},
        {{"--last", "0", file}, "'--last' takes a whole number from 1, not '0'"},
        {{file, "--since"}, "Missing value after '--since'"},
        {{""}, "the history file's name is empty (see --help)"},
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

// Output that cannot be written (a full disk, here /dev/full) fails the
// run with the reason, whatever was asked for.
TEST_F(HistoryTool, OutputThatCannotBeWrittenFailsTheRun) {
    for (const QStringList& arguments : {QStringList{file}, QStringList{"--csv", file},
                                         QStringList{"--help"}, QStringList{"--version"}}) {
        const auto [status, out, err] = run(arguments, R"(exec "$0" "$@" > /dev/full)");
        EXPECT_TRUE(status == 1 &&
                    err.contains("vantorel-history: cannot write the output: No space left on "
                                 "device"))
            << arguments.join(' ').toStdString() << ": " << status << err.toStdString();
    }
    const auto [status, out, err] = run({"--version"});
    EXPECT_TRUE(status == 0 && out == "vantorel-history 1.58\n") << out.toStdString();
}

// A crafted line whose results lie far beyond the target (it drew some 100
// million grid lines) or whose results wrap round to their total is
// reported and skipped, and the plot is made at once. A slope too small to
// show is 0.00, not -0.00.
TEST_F(HistoryTool, CraftedLinesAreSkippedAndTheTrendShowsNoMinusZero) {
    QStringList lines{
        header,
        "2026-11-02T19:00:00+01:00" + shots("-100000000,-100000000.0000,0,0", 10) + ",-1000000000",
        "2026-11-03T19:00:00+01:00" + shots("-2147483648,-2147483648.0000,0,0", 10) + ",0",
        "2026-11-04T19:00:00+01:00" + shots("9,8.5000,0,0", 1) + shots("8,7.5000,0,0", 9) + ",81"};
    for (int k = 0; k < 99; ++k)
        lines << "2026-11-05T19:00:00+01:00" + shots("8,7.5000,0,0", 10) + ",80";
    std::ofstream(file.toStdString()) << (lines.join('\n') + '\n').toStdString();
    const auto [status, out, err] = run({"--plot", home.filePath("plot.png"), file});
    EXPECT_EQ(status, 0) << err.toStdString();
    EXPECT_TRUE(err.contains("history.csv:2: damaged line skipped: shot 1: result -100000000") &&
                err.contains("history.csv:3: damaged line skipped: shot 1: result -2147483648"))
        << err.toStdString();
    EXPECT_TRUE(out.contains("Series: 100\n") && out.contains("\nTrend: 0.00 points per series\n"))
        << out.toStdString();
    EXPECT_EQ(QImage(home.filePath("plot.png")).size(), QSize(960, 500));
}

// The plot is only ever a regular file, put in place once complete: a FIFO
// in its place (which held the tool for good) is replaced, a link leads to
// the file it names, which keeps its permissions.
TEST_F(HistoryTool, PlotsReplaceWhatStandsThereOnlyWhenComplete) {
    const QByteArray fifo = QFile::encodeName(home.filePath("fifo.png"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    const auto [status, out, err] = run({"--plot", home.filePath("fifo.png"), file});
    EXPECT_EQ(status, 0) << err.toStdString();
    ASSERT_TRUE(QFileInfo(home.filePath("fifo.png")).isFile()); // reading a FIFO would wait
    EXPECT_EQ(QImage(home.filePath("fifo.png")).size(), QSize(960, 500));

    ASSERT_TRUE(fixtures::writeFile(home.filePath("kept/plot.svg"), "an old plot"));
    ASSERT_TRUE(QFile::setPermissions(home.filePath("kept/plot.svg"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    ASSERT_TRUE(QFile::link(home.filePath("kept/plot.svg"), home.filePath("link.svg")));
    const auto [linkStatus, linkOut, linkErr] = run({"--plot=" + home.filePath("link.svg"), file});
    EXPECT_EQ(linkStatus, 0) << linkErr.toStdString();
    EXPECT_TRUE(QFileInfo(home.filePath("link.svg")).isSymLink());
    EXPECT_TRUE(QSvgRenderer(home.filePath("kept/plot.svg")).isValid());
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(home.filePath("kept/plot.svg")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640U);
    EXPECT_EQ(QDir(home.filePath("kept"))
                  .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList("plot.svg"))
        << "no temporary file left";
}

// A full disk: the plot fails with the system's reason and the last plot
// stays as it was.
TEST_F(HistoryTool, APlotOnAFullDiskKeepsTheLastOne) {
    const fixtures::SmallDisk disk;
    if (disk.unavailable())
        GTEST_SKIP() << disk.why().toStdString();
    if (!disk.inside())
        return;
    const QString plot = disk.folder() + "/plot.png";
    ASSERT_TRUE(fixtures::writeFile(plot, "the last plot"));
    disk.fill();
    const auto [status, out, err] = run({"--plot", plot, file});
    EXPECT_TRUE(status == 2 && err.contains("vantorel-history: cannot write " + plot +
                                            ": No space left on device"))
        << status << err.toStdString();
    EXPECT_EQ(fixtures::readFile(plot), "the last plot");
    EXPECT_EQ(QDir(disk.folder()).entryList(QDir::Files | QDir::Hidden),
              QStringList({".filler", "plot.png"}));
}

// File names that are not UTF-8 name their own files, for the history and
// the plot alike.
TEST_F(HistoryTool, NamesOfAnyBytesKeepThem) {
    const QByteArray history = QFile::encodeName(home.path()) + "/history-\xff.csv";
    const QByteArray plot = QFile::encodeName(home.path()) + "/plot-\xfe.png";
    ASSERT_EQ(::symlink(QFile::encodeName(file).constData(), history.constData()), 0);
    const auto [status, out, err] =
        run({home.path()},
            R"(exec "$0" --plot "$1/plot-$(printf '\376').png" "$1/history-$(printf '\377').csv")");
    EXPECT_TRUE(status == 0 && out.contains("Series: 3\n")) << err.toStdString();
    EXPECT_EQ(::access(plot.constData(), R_OK), 0);
    // Qt cannot remove names that are no UTF-8 with its temporary folder.
    ::unlink(history.constData());
    ::unlink(plot.constData());
}

} // namespace
