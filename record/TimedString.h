#pragma once
// One string of a timed drill as the history keeps it: when it ended, the
// drill's name and par time, its number in the drill, and for each of its one
// to ten shots the result, raw score and offset (as in a Series) and its
// time from the start beep, in seconds; the splits are the differences of
// those times. Its line has a column set of its own, told apart from a
// series' line by its field count.

#include "record/Series.h"

#include <QDateTime>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

namespace record {

struct TimedString {
    static constexpr int MostShots = Series::Shots;
    // A string longer than this from its beep is no drill's.
    static constexpr double LongestTime = 3600.0;

    QDateTime time;            // local time with its offset from UTC
    QString drill;             // no commas or line ends
    std::optional<double> par; // seconds from the beep
    std::int32_t string = 1;   // its number in the drill, from 1
    std::vector<Shot> shots;   // 1 to MostShots
    std::vector<double> times; // one per shot, seconds from the beep, never falling
    std::int32_t total = 0;

    // The time of the last shot from the beep; 0 without shots.
    double elapsed() const { return times.empty() ? 0.0 : times.back(); }
    // Shot k's time less shot k - 1's, for k from 1.
    std::vector<double> splits() const;
    // Results above 0: shots on the scoring rings.
    int hits() const;
    // Points per second of the string: the total (at least 0) over its time.
    double hitFactor() const;
    bool late(std::size_t shot) const { return par && times.at(shot) > *par; }
};

// The header of the timed strings' lines, written before the first of them
// in a run of such lines.
QString timedHeaderLine();
QString formatTimedString(const TimedString& string);
// Empty with the reason when the line is damaged: wrong field count, a field
// that is not a number, shots beyond the count written, times that fall or
// run beyond LongestTime, a result or total that does not match the scores.
std::optional<TimedString> parseTimedString(QStringView line, QString& problem);
// The field count of a timed string's line, which a series' line never has.
int timedFieldCount();

} // namespace record
