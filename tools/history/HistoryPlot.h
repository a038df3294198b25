#pragma once
// The history tool's picture: the totals over the chosen series with their
// mean, and beside it the program's target picture with every hole; below
// them, when there are timed strings, a panel of their shots' times.

#include "record/Series.h"
#include "record/TimedString.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace history {

// Writes a PNG or an SVG picture, by the file's ending, as a regular file
// that replaces path only once complete; answers false with the reason when
// it cannot be written. path is named by the system's bytes. Needs a
// QGuiApplication.
bool writePlot(const QByteArray& path, const std::vector<record::Series>& series,
               const std::vector<record::TimedString>& strings, QString& error);

} // namespace history
