#pragma once
// The history tool's text: the table of the chosen series and the
// statistics below it.

#include "record/Series.h"

#include <QString>
#include <vector>

namespace history {

// Needs at least one series.
QString reportText(const std::vector<record::Series>& series);

} // namespace history
