// The timed strings in the history: their lines round trip with the drill,
// par, times and splits; they come among the series' lines after a header
// of their own, in files of series from before as in new ones; and damaged
// ones are named and skipped.

#include "record/TimedString.h"
#include "detection/MotionDetection.h"
#include "record/HistoryFile.h"
#include "tests/fixtures/ScratchHome.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using fixtures::readFile;
using fixtures::writeFile;

record::TimedString sampleString(int minutes, int shots) {
    record::TimedString string;
    string.time = QDateTime(QDate(2026, 12, 7), QTime(10, minutes), Qt::OffsetFromUTC, 3600);
    string.drill = QStringLiteral("25 m 20 s");
    string.par = 20.0;
    string.string = 2;
    for (int k = 0; k < shots; ++k) {
        const double score = 9.25 - k;
        string.shots.push_back({MotionDetection::shotScore(score), score, 100 * k, -50 * k});
        string.times.push_back(1.5 + 0.75 * k);
        string.total += string.shots.back().result;
    }
    return string;
}

record::Series sampleSeries() {
    record::Series series;
    series.time = QDateTime(QDate(2026, 12, 6), QTime(19, 5), Qt::OffsetFromUTC, 3600);
    for (auto& shot : series.shots) {
        shot = {10, 9.5, 0, 0};
        series.total += 10;
    }
    return series;
}

TEST(TimedString, ALineHoldsTheDrillItsTimesAndReadsBackTheSame) {
    const record::TimedString three = sampleString(5, 3);
    const QString line = record::formatTimedString(three);
    EXPECT_EQ(line, "2026-12-07T10:05:00+01:00,25 m 20 s,20.000,2,3,"
                    "10,9.2500,0,0,1.500,9,8.2500,100,-50,2.250,8,7.2500,200,-100,3.000,"
                    ",,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,27");
    EXPECT_EQ(line.count(',') + 1, record::timedFieldCount());
    EXPECT_EQ(record::timedHeaderLine().count(',') + 1, record::timedFieldCount());
    EXPECT_NE(record::timedFieldCount(), record::headerLine().count(',') + 1);
    QString problem;
    const auto back = record::parseTimedString(line, problem);
    ASSERT_TRUE(back) << problem.toStdString();
    EXPECT_EQ(back->drill, three.drill);
    EXPECT_EQ(back->par, 20.0);
    EXPECT_EQ(back->string, 2);
    EXPECT_EQ(back->times, three.times);
    EXPECT_EQ(back->splits(), (std::vector<double>{0.75, 0.75}));
    EXPECT_EQ(back->hits(), 3);
    EXPECT_DOUBLE_EQ(back->hitFactor(), 27 / 3.0);
    EXPECT_EQ(record::formatTimedString(*back), line);

    // Without a par, with ten shots; a drill's name loses its commas.
    record::TimedString ten = sampleString(6, 10);
    ten.par.reset();
    ten.drill = QStringLiteral("mine, fast");
    const auto tenBack = record::parseTimedString(record::formatTimedString(ten), problem);
    ASSERT_TRUE(tenBack) << problem.toStdString();
    EXPECT_FALSE(tenBack->par);
    EXPECT_EQ(tenBack->drill, QStringLiteral("mine fast"));
    EXPECT_EQ(tenBack->shots.size(), 10U);
    EXPECT_FALSE(tenBack->late(9));

    const QString good = record::formatTimedString(three);
    const auto damaged = [&](const QString& edited) {
        QString why;
        EXPECT_FALSE(record::parseTimedString(edited, why)) << edited.toStdString();
        return why.toStdString();
    };
    EXPECT_EQ(damaged(QString(good).replace(",1.500,", ",x,")), "shot 1 is not five numbers");
    EXPECT_EQ(damaged(QString(good).replace(",3.000,", ",2.000,")),
              "shot 3: time 2.000 s before the shot before it or beyond 3600 s");
    EXPECT_EQ(damaged(QString(good).replace(",20.000,", ",0.1,")),
              "par time '0.1' is not 0.5 to 300 seconds");
    EXPECT_EQ(damaged(QString(good).replace(",2,3,", ",2,2,")), "shot 3 beyond the 2 written");
    EXPECT_EQ(damaged(QString(good).replace(",2,3,", ",2,11,")),
              "string '2' or shots '11' out of range");
    EXPECT_EQ(damaged(QString(good).replace(",10,9.2500,", ",9,9.2500,")),
              "shot 1: result 9 does not match score 9.2500");
    EXPECT_EQ(damaged(QString(good).replace(",27", ",28")),
              "total '28' is not the sum of the results, 27");
    EXPECT_EQ(damaged(good + ","), "57 fields instead of 56");
}

// A file of series from before: its lines and header stay; the timed strings
// follow under their own header, written once for a run of them and again
// after a series' line; both kinds read back, a damaged string is named.
TEST(TimedString, TheHistoryKeepsStringsAmongSeries) {
    const QTemporaryDir dir;
    const QString path = dir.filePath("Vantorel/history.csv");
    const QByteArray old =
        (record::headerLine() + '\n' + record::formatSeries(sampleSeries()) + '\n').toUtf8();
    ASSERT_TRUE(writeFile(dir.filePath("Vantorel/history.csv"), old));
    QString error;
    ASSERT_TRUE(record::appendTimedString(path, sampleString(5, 3), error)) << error.toStdString();
    ASSERT_TRUE(record::appendTimedString(path, sampleString(6, 5), error));
    ASSERT_TRUE(record::appendSeries(path, sampleSeries(), error));
    ASSERT_TRUE(record::appendTimedString(path, sampleString(7, 1), error));
    const QByteArray header = record::timedHeaderLine().toUtf8();
    EXPECT_EQ(readFile(path),
              old + header + '\n' + record::formatTimedString(sampleString(5, 3)).toUtf8() + '\n' +
                  record::formatTimedString(sampleString(6, 5)).toUtf8() + '\n' +
                  record::formatSeries(sampleSeries()).toUtf8() + '\n' + header + '\n' +
                  record::formatTimedString(sampleString(7, 1)).toUtf8() + '\n');

    record::History history;
    ASSERT_TRUE(record::readHistory(path, history, error));
    EXPECT_EQ(history.series.size(), 2U);
    ASSERT_EQ(history.strings.size(), 3U);
    EXPECT_EQ(history.strings[1].times.size(), 5U);
    EXPECT_TRUE(history.damaged.empty());

    // A new file: the series' header first, as always, then the strings'.
    const QString fresh = dir.filePath("new/history.csv");
    ASSERT_TRUE(record::appendTimedString(fresh, sampleString(5, 2), error));
    EXPECT_EQ(readFile(fresh), (record::headerLine() + '\n' + record::timedHeaderLine() + '\n' +
                                record::formatTimedString(sampleString(5, 2)) + '\n')
                                   .toUtf8());

    QByteArray broken = readFile(path);
    broken.replace(",1.500,", ",-1.500,");
    ASSERT_TRUE(writeFile(path, broken));
    record::History damaged;
    ASSERT_TRUE(record::readHistory(path, damaged, error));
    EXPECT_EQ(damaged.series.size(), 2U);
    EXPECT_EQ(damaged.strings.size(), 0U);
    ASSERT_EQ(damaged.damaged.size(), 3U);
    EXPECT_EQ(damaged.damaged[0].number, 4);
}

} // namespace
