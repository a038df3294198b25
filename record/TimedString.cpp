#include "record/TimedString.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace record {

namespace {

constexpr int Leading = 5; // time, drill, par, string, shots
constexpr int FieldsPerShot = 5;
constexpr int FieldCount = Leading + TimedString::MostShots * FieldsPerShot + 1;
constexpr int TimeDecimals = 3;
constexpr double ShortestPar = 0.5;
constexpr double LongestPar = 300.0;

bool toFinite(QStringView text, double& value) {
    bool ok = false;
    value = text.toDouble(&ok);
    return ok && std::isfinite(value);
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
    QString line = lineTimeText(string.time);
    QString drill = string.drill;
    drill.remove(QLatin1Char(',')).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    line += QLatin1Char(',') + drill + QLatin1Char(',') +
            (string.par ? QString::number(*string.par, 'f', TimeDecimals) : QString()) +
            QStringLiteral(",%1,%2").arg(string.string).arg(string.shots.size());
    for (std::size_t k = 0; k < static_cast<std::size_t>(TimedString::MostShots); ++k) {
        if (k < string.shots.size() && k < string.times.size()) {
            line += QLatin1Char(',') + shotFields(string.shots[k]) + QLatin1Char(',') +
                    QString::number(string.times[k], 'f', TimeDecimals);
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
    if (!readInt(fields[3], string.string) || string.string < 1 || string.string > 1000 ||
        !readInt(fields[4], shots) || shots < 1 || shots > TimedString::MostShots) {
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
        const std::optional<Shot> shot = readShot(fields, first);
        double time = 0.0;
        if (!shot || !toFinite(fields[first + 4], time)) {
            problem = QStringLiteral("shot %1 is not five numbers").arg(k + 1);
            return std::nullopt;
        }
        problem = shotProblem(*shot, k + 1, fields[first + 1]);
        if (!problem.isEmpty())
            return std::nullopt;
        const double before = string.times.empty() ? 0.0 : string.times.back();
        if (time < before || time > TimedString::LongestTime) {
            problem = QStringLiteral("shot %1: time %2 s before the shot before it or beyond %3 s")
                          .arg(k + 1)
                          .arg(fields[first + 4].toString())
                          .arg(TimedString::LongestTime);
            return std::nullopt;
        }
        string.shots.push_back(*shot);
        string.times.push_back(time);
        sum += shot->result;
    }
    problem = totalProblem(fields.back(), sum, string.total);
    if (!problem.isEmpty())
        return std::nullopt;
    return string;
}

} // namespace record
