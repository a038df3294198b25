// The history file: what a finished series writes, a folder that cannot be
// written, and what survives damage. (What a line holds, field by field:
// tests/tools/HistoryToolTest.cpp, whose CSV output is checked verbatim.)

#include "record/HistoryFile.h"
#include "detection/MotionDetection.h"
#include "tests/fixtures/ScratchHome.h"
#include "tests/fixtures/SmallDisk.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tuple>

namespace {

using fixtures::readFile;
using fixtures::writeFile;

record::Series sampleSeries(int minutes) {
    record::Series series;
    series.time = QDateTime(QDate(2026, 12, 6), QTime(19, minutes), Qt::OffsetFromUTC, 3600);
    for (int k = 0; k < record::Series::Shots; ++k) {
        const double score = 9.5 - k; // results 10, 9, ..., 1
        series.shots[static_cast<std::size_t>(k)] = {MotionDetection::shotScore(score), score,
                                                     150 * k, -75 * k};
        series.total += series.shots[static_cast<std::size_t>(k)].result;
    }
    return series;
}

// A score written as 9.0000 may have been 8.99996, whose result is 9; UTC
// is written as an offset like any other.
TEST(HistoryFile, SeriesAreAppendedAsWholeLinesAndReadBackOrTheFolderIsReported) {
    const QTemporaryDir dir;
    const QString path = dir.filePath("Vantorel/history.csv"); // the folder is made
    record::Series utc = sampleSeries(9);
    utc.shots[1] = {9, 8.99996, 0, 0};
    utc.time = utc.time.toUTC();
    const QStringList lines{record::formatSeries(sampleSeries(5)), record::formatSeries(utc)};
    EXPECT_TRUE(lines[1].startsWith("2026-12-06T18:09:00+00:00,") &&
                lines[1].contains(",9,9.0000,0,0,"))
        << lines[1].toStdString();
    QString error;
    ASSERT_TRUE(record::appendSeries(path, sampleSeries(5), error)) << error.toStdString();
    ASSERT_TRUE(record::appendSeries(path, utc, error));
    EXPECT_EQ(readFile(path), (record::headerLine() + '\n' + lines.join('\n') + '\n').toUtf8());

    record::History history; // (the header is no damaged line: the next test)
    ASSERT_TRUE(record::readHistory(path, history, error));
    ASSERT_EQ(history.series.size(), 2U);
    EXPECT_EQ(QStringList({record::formatSeries(history.series[0]),
                           record::formatSeries(history.series[1])}),
              lines); // the offsets too

    ASSERT_TRUE(writeFile(dir.filePath("file"), "a file where the folder should be"));
    EXPECT_FALSE(record::appendSeries(dir.filePath("file/history.csv"), sampleSeries(5), error));
    EXPECT_TRUE(error.contains(dir.filePath("file"))) << error.toStdString();
}

// Hand edits and a line cut short by a crash are skipped and named by their
// line number; the next series after a cut line still gets a line of its own.
TEST(HistoryFile, DamagedLinesAreReportedAndSkipped) {
    const QTemporaryDir dir;
    const QString path = dir.filePath("history.csv");
    const QByteArray good = record::formatSeries(sampleSeries(5)).toUtf8();
    const auto edited = [&good](const char* from, const char* to) {
        return QByteArray(good).replace(from, to);
    };
    ASSERT_TRUE(writeFile(path, record::headerLine().toUtf8() + '\n' + good + '\n' +
                                    edited(",10,9.5000,", ",9,9.5000,") + '\n' + "\n" +
                                    edited(",55", ",56") + "\r\n" + edited("+01:00", "") + '\n' +
                                    edited(",150,", ",1S0,") + '\n' + good + '\n' +
                                    good.left(good.size() / 2)));

    QString error;
    record::History history;
    ASSERT_TRUE(record::readHistory(path, history, error));
    EXPECT_EQ(history.series.size(), 2U);
    const auto damage = [](const record::History& read) {
        QString lines;
        for (const record::DamagedLine& line : read.damaged)
            lines += QString::number(line.number) + ": " + line.problem + '\n';
        return lines.toStdString();
    };
    const std::string expected =
        "3: shot 1: result 9 does not match score 9.5000\n"
        "5: total '56' is not the sum of the results, 55\n"
        "6: '2026-12-06T19:05:00' is not a date and time with its UTC offset\n"
        "7: shot 2 is not four numbers\n"
        "9: 20 fields instead of 42\n";
    EXPECT_EQ(damage(history), expected);

    ASSERT_TRUE(record::appendSeries(path, sampleSeries(9), error));
    record::History after;
    ASSERT_TRUE(record::readHistory(path, after, error));
    EXPECT_EQ(after.series.size(), 3U);
    EXPECT_EQ(damage(after), expected); // the cut line stays damaged, alone
}

// What no shot can score is damage, however well the numbers agree: a
// result far below the target (which would draw a plot for minutes), or
// results whose 32-bit sum wraps round to the total written. The card's
// range itself, -9 to 10 from scores -10 to 10, is kept.
TEST(HistoryFile, LinesBeyondWhatAShotScoresAreDamaged) {
    const QTemporaryDir dir;
    const QString path = dir.filePath("history.csv");
    const auto line = [](const char* shot, int times, const char* rest, const char* total) {
        QByteArray text = "2026-12-06T19:05:00+01:00";
        for (int k = 0; k < times; ++k)
            text += QByteArray(",") + shot;
        for (int k = times; k < 10; ++k)
            text += QByteArray(",") + rest;
        return text + ',' + total + '\n';
    };
    ASSERT_TRUE(writeFile(path, line("-100000000,-100000000.0000,0,0", 10, "", "-1000000000") +
                                    line("-2147483648,-2147483648.0000,0,0", 10, "", "0") +
                                    line("11,10.0000,0,0", 1, "1,0.5000,0,0", "20") +
                                    line("10,10.0001,0,0", 1, "1,0.5000,0,0", "19") +
                                    line("-10,-10.0001,0,0", 1, "1,0.5000,0,0", "-1") +
                                    // the edges of the card: kept
                                    line("10,10.0000,0,0", 1, "-9,-10.0000,0,0", "-71") +
                                    line("-9,-9.4365,4500,3000", 10, "", "-90")));
    QString error;
    record::History history;
    ASSERT_TRUE(record::readHistory(path, history, error));
    QStringList problems;
    for (const record::DamagedLine& damaged : history.damaged)
        problems << QString::number(damaged.number) + ": " + damaged.problem;
    const auto beyond = [](int line, const char* result, const char* score) {
        return QStringLiteral("%1: shot 1: result %2 or score %3 is beyond what a shot scores")
            .arg(line)
            .arg(result, score);
    };
    EXPECT_EQ(problems,
              QStringList({beyond(1, "-100000000", "-100000000.0000"),
                           beyond(2, "-2147483648", "-2147483648.0000"), beyond(3, "11", "10.0000"),
                           beyond(4, "10", "10.0001"), beyond(5, "-10", "-10.0001")}));
    ASSERT_EQ(history.series.size(), 2U);
    EXPECT_EQ(history.series[0].total, -71);
    EXPECT_EQ(history.series[1].total, -90);
}

// A miss is a shot the card scored below 1, off the outer ring (whose edge
// scores 0, a result of 1). It is kept in its series and its total like any
// shot, and read back as a miss; its decimal score is 0.0.
TEST(HistoryFile, MissesAreKeptAndKnownByTheirResult) {
    // With the decimal score, in tenths, that electronic targets show.
    const std::tuple<double, bool, int> edges[] = {
        {0.0, false, 10},    {0.00005, false, 10}, {-0.00005, true, 0}, {-0.5, true, 0},
        {-10.0, true, 0},    {10.0, false, 109},   {9.0, false, 100},   {8.99999, false, 99},
        {7.0170, false, 80}, {7.3, false, 83},     {0.99, false, 19}};
    for (const auto& [score, miss, tenths] : edges) {
        const record::Shot shot{MotionDetection::shotScore(score), score, 0, 3000};
        EXPECT_EQ(record::isMiss(shot), miss) << score << " scores " << shot.result;
        EXPECT_EQ(record::decimalTenths(shot), tenths) << score;
    }
    // A score written as 9.0000 for 8.99996, a 9 on the card: the last tenth of the 9.
    EXPECT_EQ(record::decimalTenths({9, 9.0, 0, 0}), 99);
    const QTemporaryDir dir;
    const QString path = dir.filePath("history.csv");
    record::Series series = sampleSeries(5); // results 10 to 1
    series.shots[8] = {0, -0.25, -3100, 0};
    series.shots[9] = {-3, -3.3333, 0, -4000};
    series.total = 10 + 9 + 8 + 7 + 6 + 5 + 4 + 3 + 0 - 3;
    QString error;
    ASSERT_TRUE(record::appendSeries(path, series, error)) << error.toStdString();
    record::History history;
    ASSERT_TRUE(record::readHistory(path, history, error));
    ASSERT_EQ(history.series.size(), 1U);
    EXPECT_TRUE(history.damaged.empty());
    const record::Series& read = history.series[0];
    EXPECT_EQ(read.total, 49);
    EXPECT_EQ(std::count_if(read.shots.begin(), read.shots.end(), record::isMiss), 2);
    EXPECT_TRUE(record::isMiss(read.shots[9]) && read.shots[9].y == -4000);
}

// A line longer than any series (a real one is some 300 bytes) is damaged
// and never held whole, and a file of damage is counted, not kept line by
// line: memory follows the series, not the damage.
TEST(HistoryFile, LongLinesAndMuchDamageAreCountedNotKept) {
    const QTemporaryDir dir;
    const QString path = dir.filePath("history.csv");
    const QByteArray good = record::formatSeries(sampleSeries(5)).toUtf8() + '\n';
    QByteArray text = good + QByteArray(qsizetype{1024} * 1024, ',') + '\n' + good +
                      QByteArray(4096, 'x') + '\n' + QByteArray(4097, 'x') + '\n';
    for (int k = 0; k < 200; ++k)
        text += "1,2,3\n";
    ASSERT_TRUE(writeFile(path, text + good.chopped(1) + QByteArray(5000, ' ')));
    QString error;
    record::History history;
    ASSERT_TRUE(record::readHistory(path, history, error));
    EXPECT_EQ(history.series.size(), 2U);
    EXPECT_EQ(history.damagedCount, 204);
    ASSERT_EQ(history.damaged.size(), 100U);
    EXPECT_EQ(history.damaged[0].number, 2);
    EXPECT_EQ(history.damaged[0].problem, "longer than 4096 bytes");
    EXPECT_EQ(history.damaged[1].problem, "1 fields instead of 42"); // 4096 bytes: read
    EXPECT_EQ(history.damaged[2].number, 5);
    EXPECT_EQ(history.damaged[2].problem, "longer than 4096 bytes");
    EXPECT_EQ(history.damaged[3].problem, "3 fields instead of 42");
}

// A FIFO in the history's place is refused at once, with the reason: it
// would swallow the series, and hold the window once its buffer is full.
TEST(HistoryFile, AFifoInPlaceOfTheHistoryIsRefusedAtOnce) {
    const QTemporaryDir dir;
    const QString path = dir.filePath("history.csv");
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    QString error;
    EXPECT_FALSE(record::appendSeries(path, sampleSeries(5), error));
    EXPECT_EQ(error, "cannot open " + path + ": not a regular file");
    struct stat info {};
    EXPECT_TRUE(::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode));
}

// A full disk: the series is not kept, the reason is the system's, and the
// part of the line the disk took is taken back, so the file stays as it was.
TEST(HistoryFile, AFullDiskSaysWhyAndLeavesTheFileAsItWas) {
    const fixtures::SmallDisk disk;
    if (disk.unavailable())
        GTEST_SKIP() << disk.why().toStdString();
    if (!disk.inside())
        return;
    const QString path = disk.folder() + "/Vantorel/history.csv";
    QString error;
    ASSERT_TRUE(record::appendSeries(path, sampleSeries(5), error)) << error.toStdString();
    // Blank lines up to 100 bytes short of a page: the next line fits only in part.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(QByteArray(4096 - 100 - QFileInfo(path).size(), '\n'));
    file.close();
    const QByteArray before = readFile(path);
    disk.fill();
    EXPECT_FALSE(record::appendSeries(path, sampleSeries(9), error));
    EXPECT_EQ(error, "cannot write " + path + ": No space left on device");
    EXPECT_EQ(readFile(path), before);
}

} // namespace
