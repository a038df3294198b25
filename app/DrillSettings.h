#pragma once
// The timed drill the shooter chose last, kept with the settings (section
// "Drill"), so the Timed Series dialog opens with it again.

#include "app/series/DrillRules.h"

#include <QStringList>

namespace app {

// The stored drill; a value that is missing keeps its default, one that is
// not a number keeps its default too and is named in `damaged`, and every
// value is held to its range.
DrillRules loadDrillRules(QStringList* damaged = nullptr);
void saveDrillRules(const DrillRules& rules);

} // namespace app
