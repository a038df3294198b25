#pragma once
// The history file, history.csv in the program's data folder: one header
// line, then one line for every finished series, oldest first. A series is
// appended with a single write, so a crash or a full disk can cost at most
// the line being written, never the lines before it. The strings of timed
// drills have a column set of their own: their lines come among the series'
// lines, each run of them after the timed strings' header line.

#include "record/Series.h"
#include "record/TimedString.h"

#include <QString>
#include <vector>

namespace record {

// $XDG_DATA_HOME/Vantorel/history.csv, read afresh on every call.
QString historyPath();

// Appends one series, creating the folder and the file (with its header) when
// they are missing. A last line cut short by an earlier crash is closed first
// so the new line stands on its own. Never waits: anything but a regular
// file in the history's place is refused. Answers false with the reason (the
// system's words: "No space left on device"); a line the disk could not take
// whole is taken back.
bool appendSeries(const QString& path, const Series& series, QString& error);

// Appends one string of a timed drill in the same way, after the timed
// strings' header when the file's last line is not a timed string's (a
// file of series from before keeps its lines and its header).
bool appendTimedString(const QString& path, const TimedString& string, QString& error);

struct DamagedLine {
    qsizetype number = 0; // from 1, as an editor counts
    QString problem;
};

struct History {
    std::vector<Series> series;
    std::vector<TimedString> strings; // of timed drills
    std::vector<DamagedLine> damaged; // skipped: the first hundred
    qsizetype damagedCount = 0;       // all of them
};

// Reads every series and timed string of the file; damaged lines (among them lines longer
// than any series writes) are listed and skipped, blank lines ignored.
// Memory grows with the series, never with the damage. Answers false with
// the reason when the file cannot be read. The path is named by the
// system's bytes; the QString form is for names in UTF-8.
bool readHistory(const QByteArray& path, History& history, QString& error);
bool readHistory(const QString& path, History& history, QString& error);

} // namespace record
