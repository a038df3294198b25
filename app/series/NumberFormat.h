#pragma once
// The score card's number format: a value right-aligned in a field of
// spaces, a negative value with a single minus sign directly before its
// digits. A value wider than its field is written in full.

#include <QString>
#include <cstdint>

namespace app {

QString formatNumber(std::int32_t value, int width);

} // namespace app
