#pragma once
// The history tool's picture: the totals over the chosen series with their
// mean, and beside it the program's target picture with every hole.

#include "record/Series.h"

#include <QString>
#include <vector>

namespace history {

// Writes a PNG or an SVG picture, by the file's ending; answers false with
// the reason when the file cannot be written. Needs a QGuiApplication.
bool writePlot(const QString& path, const std::vector<record::Series>& series, QString& error);

} // namespace history
