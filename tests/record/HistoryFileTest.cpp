// The history file: what a finished series writes, a folder that cannot be
// written, and what survives damage. (What a line holds, field by field:
// tests/tools/HistoryToolTest.cpp, whose CSV output is checked verbatim.)

#include "record/HistoryFile.h"
#include "detection/MotionDetection.h"
#include "tests/fixtures/ScratchHome.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using fixtures::readFile;
using fixtures::writeFile;

record::Series sampleSeries(int minutes) {
    record::Series series;
    series.time = QDateTime(QDate(2026, 12, 6), QTime(19, minutes), Qt::OffsetFromUTC, 3600);
    for (int k = 0; k < record::Series::Shots; ++k) {
        const double score = 9.5 - k; // results 10, 9, ..., 1
        series.shots[static_cast<std::size_t>(k)] = {MotionDetection::ShotScore(score), score,
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
    ASSERT_TRUE(record::AppendSeries(path, sampleSeries(5), error)) << error.toStdString();
    ASSERT_TRUE(record::AppendSeries(path, utc, error));
    EXPECT_EQ(readFile(path), (record::headerLine() + '\n' + lines.join('\n') + '\n').toUtf8());

    record::History history; // (the header is no damaged line: the next test)
    ASSERT_TRUE(record::readHistory(path, history, error));
    ASSERT_EQ(history.series.size(), 2U);
    EXPECT_EQ(QStringList({record::formatSeries(history.series[0]),
                           record::formatSeries(history.series[1])}),
              lines); // the offsets too

    ASSERT_TRUE(writeFile(dir.filePath("file"), "a file where the folder should be"));
    EXPECT_FALSE(record::AppendSeries(dir.filePath("file/history.csv"), sampleSeries(5), error));
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

    ASSERT_TRUE(record::AppendSeries(path, sampleSeries(9), error));
    record::History after;
    ASSERT_TRUE(record::readHistory(path, after, error));
    EXPECT_EQ(after.series.size(), 3U);
    EXPECT_EQ(damage(after), expected); // the cut line stays damaged, alone
}

} // namespace
