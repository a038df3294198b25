#include "record/Series.h"

#include "detection/MotionDetection.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace record {

namespace {

constexpr int FieldsPerShot = 4;
constexpr int FieldCount = 1 + Series::Shots * FieldsPerShot + 1;
constexpr int ScoreDecimals = 4;
// Half the last written decimal: a score written as 9.0000 may have been
// 8.99996, whose result is 9.
constexpr double WrittenScoreSlack = 0.00005;

// "+01:00": written out even for UTC, which Qt would write as "Z".
QString offsetText(int seconds) {
    const int minutes = std::abs(seconds) / 60;
    return QStringLiteral("%1%2:%3")
        .arg(seconds < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

std::int32_t decimalTenths(const Shot& shot) {
    if (isMiss(shot))
        return 0;
    // Ring r holds the scores from r - 1 up to r (the 10 all from 9 on). The
    // result is the ring: a score written as 9.0000 may have been 8.99996,
    // still in the 9, whose tenth is then its last.
    const double into = (shot.score - (shot.result - 1)) * 10;
    const auto tenth = static_cast<std::int32_t>(std::clamp(std::floor(into + 1e-6), 0.0, 9.0));
    return shot.result * 10 + tenth;
}

QString headerLine() {
    QString line = QStringLiteral("time");
    for (int k = 1; k <= Series::Shots; ++k)
        line += QStringLiteral(",result%1,score%1,x%1,y%1").arg(k);
    return line + QStringLiteral(",total");
}

QString formatSeries(const Series& series) {
    QString line = lineTimeText(series.time);
    for (const Shot& shot : series.shots)
        line += QLatin1Char(',') + shotFields(shot);
    return line + QLatin1Char(',') + QString::number(series.total);
}

QString lineTimeText(const QDateTime& time) {
    return time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + offsetText(time.offsetFromUtc());
}

QString shotFields(const Shot& shot) {
    return QStringLiteral("%1,%2,%3,%4")
        .arg(shot.result)
        .arg(shot.score, 0, 'f', ScoreDecimals)
        .arg(shot.x)
        .arg(shot.y);
}

bool readInt(QStringView text, std::int32_t& value) {
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

std::optional<Shot> readShot(const QList<QStringView>& fields, qsizetype first) {
    Shot shot;
    bool scoreOk = false;
    shot.score = fields[first + 1].toDouble(&scoreOk);
    if (!readInt(fields[first], shot.result) || !scoreOk || !std::isfinite(shot.score) ||
        !readInt(fields[first + 2], shot.x) || !readInt(fields[first + 3], shot.y))
        return std::nullopt;
    return shot;
}

QString shotProblem(const Shot& shot, int number, QStringView scoreText) {
    if (shot.score < LowestScore || shot.score > HighestScore || shot.result < LowestResult ||
        shot.result > HighestResult)
        return QStringLiteral("shot %1: result %2 or score %3 is beyond what a shot scores")
            .arg(number)
            .arg(shot.result)
            .arg(scoreText.toString());
    if (shot.result < MotionDetection::shotScore(shot.score - WrittenScoreSlack) ||
        shot.result > MotionDetection::shotScore(shot.score + WrittenScoreSlack))
        return QStringLiteral("shot %1: result %2 does not match score %3")
            .arg(number)
            .arg(shot.result)
            .arg(scoreText.toString());
    return {};
}

QString totalProblem(QStringView text, std::int64_t sum, std::int32_t& total) {
    if (readInt(text, total) && total == sum)
        return {};
    return QStringLiteral("total '%1' is not the sum of the results, %2")
        .arg(text.toString())
        .arg(sum);
}

std::optional<LineStart> parseLineStart(QStringView line, qsizetype count, QString& problem) {
    LineStart start{line.split(QLatin1Char(',')), {}};
    if (start.fields.size() != count) {
        problem = QStringLiteral("%1 fields instead of %2").arg(start.fields.size()).arg(count);
        return std::nullopt;
    }
    start.time = QDateTime::fromString(start.fields[0].toString(), Qt::ISODate);
    if (!start.time.isValid() || start.time.timeSpec() == Qt::LocalTime) {
        problem = QStringLiteral("'%1' is not a date and time with its UTC offset")
                      .arg(start.fields[0].toString());
        return std::nullopt;
    }
    return start;
}

std::optional<Series> parseSeries(QStringView line, QString& problem) {
    const std::optional<LineStart> start = parseLineStart(line, FieldCount, problem);
    if (!start)
        return std::nullopt;
    const QList<QStringView>& fields = start->fields;
    Series series;
    series.time = start->time;
    std::int64_t sum = 0; // a crafted line must not wrap it round to its total
    for (int k = 0; k < Series::Shots; ++k) {
        const qsizetype first = 1 + static_cast<qsizetype>(k) * FieldsPerShot;
        const std::optional<Shot> shot = readShot(fields, first);
        if (!shot) {
            problem = QStringLiteral("shot %1 is not four numbers").arg(k + 1);
            return std::nullopt;
        }
        problem = shotProblem(*shot, k + 1, fields[first + 1]);
        if (!problem.isEmpty())
            return std::nullopt;
        series.shots[static_cast<std::size_t>(k)] = *shot;
        sum += shot->result;
    }
    problem = totalProblem(fields.back(), sum, series.total);
    if (!problem.isEmpty())
        return std::nullopt;
    return series;
}

} // namespace record
