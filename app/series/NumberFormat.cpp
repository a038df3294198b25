#include "app/series/NumberFormat.h"

namespace app {

QString formatNumber(std::int32_t value, int width) {
    // Widened first, so the lowest 32-bit value keeps its digits.
    const std::int64_t wide = value;
    QString text = QString::number(wide < 0 ? -wide : wide);
    if (wide < 0)
        text.prepend(QLatin1Char('-'));
    return text.rightJustified(width, QLatin1Char(' '));
}

} // namespace app
