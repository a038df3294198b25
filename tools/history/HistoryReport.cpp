#include "tools/history/HistoryReport.h"

#include "tools/history/HistoryStatistics.h"

#include <QStringList>
#include <array>
#include <cmath>

namespace history {

namespace {

QString dateText(const record::Series& series) {
    return series.time.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

// "1.25 rings (11.4 mm)"
QString distanceText(double twips) {
    const double rings = twips / TwipsPerRing;
    return QStringLiteral("%1 rings (%2 mm)")
        .arg(rings, 0, 'f', 2)
        .arg(rings * A4MillimetresPerRing, 0, 'f', 1);
}

QString componentText(double twips, const char* positive, const char* negative) {
    if (std::abs(twips) < 0.5)
        return QStringLiteral("centred");
    return distanceText(std::abs(twips)) + QLatin1Char(' ') +
           QLatin1String(twips > 0 ? positive : negative);
}

// "2 of 30 shots went off the target: 1 left, 1 high right"
QString missesText(const Group& group) {
    static constexpr std::array<const char*, DirectionCount> names{
        "right", "high right", "high", "high left", "left", "low left", "low", "low right"};
    const int shots = group.holes + group.misses;
    if (group.misses == 0)
        return QStringLiteral("none of %1 shots").arg(shots);
    QStringList ways;
    for (std::size_t k = 0; k < names.size(); ++k) {
        if (group.missesBy[k] > 0)
            ways << QStringLiteral("%1 %2").arg(group.missesBy[k]).arg(QLatin1String(names[k]));
    }
    return QStringLiteral("%1 of %2 shots went off the target: %3")
        .arg(group.misses)
        .arg(shots)
        .arg(ways.join(QStringLiteral(", ")));
}

} // namespace

QString reportText(const std::vector<record::Series>& series) {
    // Decimal: the total as electronic targets count it, in tenths of a ring.
    QString text = QStringLiteral("Date              Total Decimal");
    for (int k = 1; k <= record::Series::Shots; ++k)
        text += QStringLiteral("%1").arg(k, 4);
    text += QLatin1Char('\n');
    for (const record::Series& one : series) {
        std::int32_t tenths = 0;
        for (const record::Shot& shot : one.shots)
            tenths += record::decimalTenths(shot);
        text += QStringLiteral("%1  %2 %3")
                    .arg(dateText(one), -16)
                    .arg(one.total, 5)
                    .arg(QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10), 7);
        for (const record::Shot& shot : one.shots)
            text += QStringLiteral("%1").arg(shot.result, 4);
        text += QLatin1Char('\n');
    }

    const Totals totals = totalsOf(series);
    text += QStringLiteral("\nSeries: %1\n").arg(totals.count);
    text += QStringLiteral("Best: %1 (%2)\n")
                .arg(totals.best)
                .arg(dateText(series[static_cast<std::size_t>(totals.bestIndex)]));
    text += QStringLiteral("Mean of the last %1: %2\n")
                .arg(std::min(totals.count, 10))
                .arg(totals.meanLast10, 0, 'f', 1);
    text += QStringLiteral("Mean of all: %1\n").arg(totals.meanAll, 0, 'f', 1);
    if (totals.trend) {
        // As shown: a slope too small to show is 0.00, without a sign.
        QString slope = QString::number(*totals.trend, 'f', 2);
        if (slope == QLatin1String("-0.00"))
            slope.remove(0, 1);
        else if (!slope.startsWith(QLatin1Char('-')) && slope != QLatin1String("0.00"))
            slope.prepend(QLatin1Char('+'));
        text += QStringLiteral("Trend: %1 points per series\n").arg(slope);
    } else {
        text += QStringLiteral("Trend: needs two series\n");
    }

    // Misses count in the totals as the score card showed them, and apart
    // from the group, which is of the hits on the target alone.
    const Group group = groupOf(series);
    text += QStringLiteral("Misses: %1\n").arg(missesText(group));
    if (group.holes == 0) {
        text += QStringLiteral("\nGroup: no hole on the target\n");
        return text;
    }
    text += QStringLiteral("\nGroup of %1 holes on the target (A4 target)\n").arg(group.holes);
    text += QStringLiteral("Mean point of impact: %1 from the centre, %2, %3\n")
                .arg(distanceText(std::hypot(group.right, group.up)),
                     componentText(group.right, "right", "left"),
                     componentText(group.up, "high", "low"));
    text += QStringLiteral("Extreme spread: %1\n").arg(distanceText(group.extremeSpread));
    text += QStringLiteral("Mean radius: %1\n").arg(distanceText(group.meanRadius));
    return text;
}

QString timedReportText(const std::vector<record::TimedString>& strings) {
    QString text = QStringLiteral("Timed strings\n"
                                  "Date              Drill                     String Total"
                                  "   Time     HF  Shot times (s, * late)\n");
    for (const record::TimedString& string : strings) {
        text += QStringLiteral("%1  %2 %3 %4 %5 %6 ")
                    .arg(string.time.toString(QStringLiteral("yyyy-MM-dd HH:mm")), -16)
                    .arg(string.drill.left(25), -25)
                    .arg(string.string, 6)
                    .arg(string.total, 5)
                    .arg(string.elapsed(), 6, 'f', 2)
                    .arg(string.hitFactor(), 6, 'f', 2);
        for (std::size_t k = 0; k < string.times.size(); ++k)
            text += QStringLiteral(" %1%2")
                        .arg(string.times[k], 0, 'f', 2)
                        .arg(string.late(k) ? QStringLiteral("*") : QString());
        text += QLatin1Char('\n');
    }
    const Timing timing = timingOf(strings);
    const record::TimedString& best = strings.at(static_cast<std::size_t>(timing.bestIndex));
    text += QStringLiteral("\nStrings: %1\n").arg(timing.count);
    text += QStringLiteral("Mean first shot: %1 s\n").arg(timing.meanFirst, 0, 'f', 2);
    if (timing.meanSplit)
        text += QStringLiteral("Mean split: %1 s\n").arg(*timing.meanSplit, 0, 'f', 2);
    else
        text += QStringLiteral("Mean split: needs a string of two shots\n");
    text += QStringLiteral("Best string: %1 in %2 s, hit factor %3 (%4, %5 string %6)\n")
                .arg(best.total)
                .arg(best.elapsed(), 0, 'f', 2)
                .arg(best.hitFactor(), 0, 'f', 2)
                .arg(best.time.toString(QStringLiteral("yyyy-MM-dd HH:mm")), best.drill)
                .arg(best.string);
    return text;
}

} // namespace history
