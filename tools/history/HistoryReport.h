#pragma once
// The history tool's text: the table of the chosen series and the
// statistics below it.

#include "record/Series.h"
#include "record/TimedString.h"

#include <QString>
#include <vector>

namespace history {

// Needs at least one series.
QString reportText(const std::vector<record::Series>& series);
// The timed strings: each with its drill, total, time, hit factor and the
// shots' times (late ones marked *), then the mean first shot, the mean
// split and the best string. Needs at least one string.
QString timedReportText(const std::vector<record::TimedString>& strings);

} // namespace history
