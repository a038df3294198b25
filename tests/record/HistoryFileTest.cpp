// The history file: what a finished series writes, what survives damage, and
// a folder that cannot be written.

#include "record/HistoryFile.h"
#include "detection/MotionDetection.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

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

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(HistoryFile, SeriesAreAppendedAsWholeLinesAndReadBack) {
    const QTemporaryDir dir;
    const QString path = dir.filePath("Vantorel/history.csv"); // the folder is made
    QString error;
    ASSERT_TRUE(record::AppendSeries(path, sampleSeries(5), error)) << error.toStdString();
    ASSERT_TRUE(record::AppendSeries(path, sampleSeries(9), error));
    const QList<QByteArray> lines = readAll(path).split('\n');
    ASSERT_EQ(lines.size(), 4); // header, two series, the empty rest after the last '\n'
    EXPECT_TRUE(lines[0].startsWith("time,result1,score1,x1,y1,result2,") &&
                lines[0].endsWith(",y10,total"));
    EXPECT_TRUE(lines[1].startsWith("2026-12-06T19:05:00+01:00,10,9.5000,0,0,9,8.5000,150,-75,"))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith(",1,0.5000,1350,-675,55"));

    record::History history;
    ASSERT_TRUE(record::ReadHistory(path, history, error));
    ASSERT_EQ(history.series.size(), 2U);
    EXPECT_TRUE(history.damaged.empty());
    const record::Series& second = history.series[1];
    EXPECT_EQ(second.time, sampleSeries(9).time);
    EXPECT_EQ(second.time.offsetFromUtc(), 3600);
    EXPECT_EQ(second.total, 55);
    EXPECT_EQ(second.shots[9].x, 1350);
}

// Hand edits and a line cut short by a crash are skipped and named by their
// line number; the next series after a cut line still gets a line of its own.
TEST(HistoryFile, DamagedLinesAreReportedAndSkipped) {
    const QTemporaryDir dir;
    const QString path = dir.filePath("history.csv");
    const QByteArray good = record::FormatSeries(sampleSeries(5)).toUtf8();
    QByteArray wrongResult = good;
    wrongResult.replace(",10,9.5000,", ",9,9.5000,");
    QByteArray wrongTotal = good;
    wrongTotal.replace(",55", ",56");
    QByteArray noOffset = good;
    noOffset.replace("+01:00", "");
    QByteArray letters = good;
    letters.replace(",150,", ",1S0,");
    writeAll(path, record::HeaderLine().toUtf8() + '\n' + good + '\n' + wrongResult + '\n' + "\n" +
                       wrongTotal + "\r\n" + noOffset + '\n' + letters + '\n' + good + '\n' +
                       good.left(good.size() / 2));

    QString error;
    record::History history;
    ASSERT_TRUE(record::ReadHistory(path, history, error));
    EXPECT_EQ(history.series.size(), 2U);
    struct Damage {
        qsizetype line;
        const char* problem;
    };
    const Damage expected[] = {{3, "shot 1: result 9 does not match score 9.5000"},
                               {5, "total '56' is not the sum of the results, 55"},
                               {6, "is not a date and time with its UTC offset"},
                               {7, "shot 2 is not four numbers"},
                               {9, "fields instead of 42"}};
    ASSERT_EQ(history.damaged.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(history.damaged[i].number, expected[i].line);
        EXPECT_TRUE(history.damaged[i].problem.contains(expected[i].problem))
            << history.damaged[i].problem.toStdString();
    }

    ASSERT_TRUE(record::AppendSeries(path, sampleSeries(9), error));
    record::History after;
    ASSERT_TRUE(record::ReadHistory(path, after, error));
    EXPECT_EQ(after.series.size(), 3U);
    EXPECT_EQ(after.damaged.size(), std::size(expected)); // the cut line stays damaged, alone
}

// A score written as 9.0000 may have been 8.99996, whose result is 9; UTC
// is written as an offset like any other.
TEST(HistoryFile, WholeScoresAndUtcAreWrittenSoTheyReadBack) {
    record::Series series = sampleSeries(5);
    series.shots[1] = {9, 8.99996, 0, 0};
    series.total = 55;
    series.time = series.time.toUTC();
    EXPECT_TRUE(record::FormatSeries(series).startsWith("2026-12-06T18:05:00+00:00,"));
    QString problem;
    EXPECT_TRUE(record::ParseSeries(record::FormatSeries(series), problem))
        << problem.toStdString();
    EXPECT_TRUE(record::FormatSeries(series).contains(",9,9.0000,0,0,"));
}

TEST(HistoryFile, AnUnwritableFolderIsReported) {
    const QTemporaryDir dir;
    writeAll(dir.filePath("Vantorel"), "a file where the folder should be");
    QString error;
    EXPECT_FALSE(
        record::AppendSeries(dir.filePath("Vantorel/history.csv"), sampleSeries(5), error));
    EXPECT_TRUE(error.contains("Vantorel")) << error.toStdString();
    record::History history;
    EXPECT_FALSE(record::ReadHistory(dir.filePath("none.csv"), history, error));
}

} // namespace
