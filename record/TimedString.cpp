#include "record/TimedString.h"

#include "detection/MotionDetection.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace record {

namespace {

constexpr int Leading = 5; // time, drill, par, string, shots
constexpr int FieldsPerShot = 5;
constexpr int FieldCount = Leading + TimedString::MostShots * FieldsPerShot + 1;
constexpr int ScoreDecimals = 4;
constexpr int TimeDecimals = 3;
constexpr double WrittenScoreSlack = 0.00005; // half the last written decimal
constexpr double ShortestPar = 0.5;
constexpr double LongestPar = 300.0;

bool toInt(QStringView text, std::int32_t& value) {
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

bool toFinite(QStringView text, double& value) {
    bool ok = false;
    value = text.toDouble(&ok);
    return ok && std::isfinite(value);
}

QString offsetText(int seconds) {
    const int minutes = std::abs(seconds) / 60;
    return QStringLiteral("%1%2:%3")
        .arg(seconds < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

std::vector<double> TimedString::splits() const {
    std::vector<double> result;
    for (std::size_t k = 1; k < times.size(); ++k)
        result.push_back(times[k] - times[k - 1]);
    return result;
}

int TimedString::hits() const {
    return static_cast<int>(std::count_if(shots.begin(), shots.end(),
                                          [](const Shot& shot) { return shot.result > 0; }));
}

double TimedString::hitFactor() const {
    const double time = elapsed();
    return time > 0.0 ? std::max(total, 0) / time : 0.0;
}

int timedFieldCount() {
    return FieldCount;
}

QString timedHeaderLine() {
    QString line = QStringLiteral("time,drill,par,string,shots");
    for (int k = 1; k <= TimedString::MostShots; ++k)
        line += QStringLiteral(",result%1,score%1,x%1,y%1,time%1").arg(k);
    return line + QStringLiteral(",total");
}

QString formatTimedString(const TimedString& string) {
    QString line = string.time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) +
                   offsetText(string.time.offsetFromUtc());
    QString drill = string.drill;
    drill.remove(QLatin1Char(',')).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    line += QLatin1Char(',') + drill + QLatin1Char(',') +
            (string.par ? QString::number(*string.par, 'f', TimeDecimals) : QString()) +
            QStringLiteral(",%1,%2").arg(string.string).arg(string.shots.size());
    for (std::size_t k = 0; k < static_cast<std::size_t>(TimedString::MostShots); ++k) {
        if (k < string.shots.size() && k < string.times.size()) {
            const Shot& shot = string.shots[k];
            line += QStringLiteral(",%1,%2,%3,%4,%5")
                        .arg(shot.result)
                        .arg(shot.score, 0, 'f', ScoreDecimals)
                        .arg(shot.x)
                        .arg(shot.y)
                        .arg(string.times[k], 0, 'f', TimeDecimals);
        } else {
            line += QStringLiteral(",,,,,");
        }
    }
    return line + QLatin1Char(',') + QString::number(string.total);
}

std::optional<TimedString> parseTimedString(QStringView line, QString& problem) {
    const std::optional<LineStart> start = parseLineStart(line, FieldCount, problem);
    if (!start)
        return std::nullopt;
    const QList<QStringView>& fields = start->fields;
    TimedString string;
    string.time = start->time;
    string.drill = fields[1].trimmed().toString();
    if (!fields[2].isEmpty()) {
        double par = 0.0;
        if (!toFinite(fields[2], par) || par < ShortestPar || par > LongestPar) {
            problem =
                QStringLiteral("par time '%1' is not 0.5 to 300 seconds").arg(fields[2].toString());
            return std::nullopt;
        }
        string.par = par;
    }
    std::int32_t shots = 0;
    if (!toInt(fields[3], string.string) || string.string < 1 || string.string > 1000 ||
        !toInt(fields[4], shots) || shots < 1 || shots > TimedString::MostShots) {
        problem = QStringLiteral("string '%1' or shots '%2' out of range")
                      .arg(fields[3].toString(), fields[4].toString());
        return std::nullopt;
    }
    std::int64_t sum = 0;
    for (int k = 0; k < TimedString::MostShots; ++k) {
        const qsizetype first = Leading + static_cast<qsizetype>(k) * FieldsPerShot;
        if (k >= shots) {
            for (int f = 0; f < FieldsPerShot; ++f) {
                if (!fields[first + f].isEmpty()) {
                    problem = QStringLiteral("shot %1 beyond the %2 written").arg(k + 1).arg(shots);
                    return std::nullopt;
                }
            }
            continue;
        }
        Shot shot;
        double time = 0.0;
        if (!toInt(fields[first], shot.result) || !toFinite(fields[first + 1], shot.score) ||
            !toInt(fields[first + 2], shot.x) || !toInt(fields[first + 3], shot.y) ||
            !toFinite(fields[first + 4], time)) {
            problem = QStringLiteral("shot %1 is not five numbers").arg(k + 1);
            return std::nullopt;
        }
        if (shot.score < LowestScore || shot.score > HighestScore || shot.result < LowestResult ||
            shot.result > HighestResult ||
            shot.result < MotionDetection::shotScore(shot.score - WrittenScoreSlack) ||
            shot.result > MotionDetection::shotScore(shot.score + WrittenScoreSlack)) {
            problem = QStringLiteral("shot %1: result %2 does not match score %3")
                          .arg(k + 1)
                          .arg(shot.result)
                          .arg(fields[first + 1].toString());
            return std::nullopt;
        }
        const double before = string.times.empty() ? 0.0 : string.times.back();
        if (time < before || time > TimedString::LongestTime) {
            problem = QStringLiteral("shot %1: time %2 s before the shot before it or beyond %3 s")
                          .arg(k + 1)
                          .arg(fields[first + 4].toString())
                          .arg(TimedString::LongestTime);
            return std::nullopt;
        }
        string.shots.push_back(shot);
        string.times.push_back(time);
        sum += shot.result;
    }
    if (!toInt(fields.back(), string.total) || string.total != sum) {
        problem = QStringLiteral("total '%1' is not the sum of the results, %2")
                      .arg(fields.back().toString())
                      .arg(sum);
        return std::nullopt;
    }
    return string;
}

} // namespace record
