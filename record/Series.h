#pragma once
// One finished series as the history keeps it: when it ended, and for each
// of the ten shots its result as on the score card, its raw score and its
// offset from the target centre (twips on the 6000-twip target picture,
// positive X to the right, positive Y up), and the total.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>

namespace record {

struct Shot {
    std::int32_t result = 0;
    double score = 0.0;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// What a shot can score. The analysis gives 10 at the centre and, at the
// far corner of its coarsest grid, just above -10; the score card's ring is
// then -9 to 10, and ten of them total -90 to 100.
constexpr double LowestScore = -10.0;
constexpr double HighestScore = 10.0;
constexpr std::int32_t LowestResult = -9;
constexpr std::int32_t HighestResult = 10;
// The outer ring scores 1; a result below it is a miss, a shot that went off
// the target. It stays in the series and its total as the score card showed
// it, but the statistics of the group leave it out.
constexpr std::int32_t LowestHit = 1;
constexpr bool isMiss(const Shot& shot) {
    return shot.result < LowestHit;
}

// A shot's score as electronic targets show it, in tenths: its ring and the
// tenth of that ring it reached towards the centre (80 on the outer edge of
// the 8, 89 just short of the 9), up to 109 for the 10; 0 for a miss.
std::int32_t decimalTenths(const Shot& shot);

struct Series {
    static constexpr int Shots = 10;
    QDateTime time; // local time with its offset from UTC
    std::array<Shot, Shots> shots{};
    std::int32_t total = 0;
};

// The history file's first line, naming the columns.
QString headerLine();
// A series as one line of the history file, without the line end.
QString formatSeries(const Series& series);
// A line of the history file back as a series; empty with the reason when the
// line is damaged (wrong field count, a field that is not a number, a score
// or result no shot can make, a result or total that does not match the
// scores).
std::optional<Series> parseSeries(QStringView line, QString& problem);

// What every kind of history line starts with: exactly `count` fields, the
// first a date and time with its UTC offset. Nothing, with the problem said,
// for a line that has not.
struct LineStart {
    QList<QStringView> fields;
    QDateTime time;
};
std::optional<LineStart> parseLineStart(QStringView line, qsizetype count, QString& problem);

// The other pieces that every kind of history line shares.
// A line's first field: the time to the second with its UTC offset.
QString lineTimeText(const QDateTime& time);
// A shot's four fields, "result,score,x,y", the score to four decimals.
QString shotFields(const Shot& shot);
// A whole number field.
bool readInt(QStringView text, std::int32_t& value);
// The shot in the four fields from `first` on; nothing when they are not
// four numbers.
std::optional<Shot> readShot(const QList<QStringView>& fields, qsizetype first);
// Why shot `number` is no shot the analysis can make (a result or score out
// of range, or a result that is not its score's ring); empty when it is one.
QString shotProblem(const Shot& shot, int number, QStringView scoreText);
// Reads the total and checks it against the sum of the results; empty when
// it matches, else why not.
QString totalProblem(QStringView text, std::int64_t sum, std::int32_t& total);

} // namespace record
