#include "app/DrillSettings.h"

#include "platform/SettingsStore.h"

namespace app {
namespace {

const QString Application = QStringLiteral("Vantorel");
const QString Section = QStringLiteral("Drill");

// The stored whole number, or the default when the key is absent or its
// text is no number.
int readNumber(const QString& key, int fallback, QStringList* damaged) {
    const QString text = platform::readSetting(Application, Section, key, QString()).trimmed();
    if (text.isEmpty())
        return fallback;
    bool ok = false;
    const int value = text.toInt(&ok);
    if (ok)
        return value;
    if (damaged != nullptr)
        damaged->append(QStringLiteral("%1=%2").arg(key, text));
    return fallback;
}

void writeNumber(const QString& key, long long value) {
    platform::writeSetting(Application, Section, key, QString::number(value));
}

} // namespace

DrillRules loadDrillRules(QStringList* damaged) {
    const DrillRules defaults;
    DrillRules rules;
    rules.name = platform::readSetting(Application, Section, QStringLiteral("Name"), QString());
    rules.shots = static_cast<std::int16_t>(
        readNumber(QStringLiteral("ShotsPerString"), defaults.shots, damaged));
    rules.strings =
        static_cast<std::int16_t>(readNumber(QStringLiteral("Strings"), defaults.strings, damaged));
    rules.delayFrom = DrillRules::Duration(readNumber(
        QStringLiteral("DelayFrom"), static_cast<int>(defaults.delayFrom.count()), damaged));
    rules.delayTo = DrillRules::Duration(
        readNumber(QStringLiteral("DelayTo"), static_cast<int>(defaults.delayTo.count()), damaged));
    // 0: no par time.
    if (const int par = readNumber(QStringLiteral("ParTime"), 0, damaged); par > 0)
        rules.par = DrillRules::Duration(par);
    rules.shortPause = readNumber(QStringLiteral("ShortPause"), 0, damaged) != 0;
    return rules.heldToRange();
}

void saveDrillRules(const DrillRules& rules) {
    const DrillRules held = rules.heldToRange();
    platform::writeSetting(Application, Section, QStringLiteral("Name"), held.name);
    writeNumber(QStringLiteral("ShotsPerString"), held.shots);
    writeNumber(QStringLiteral("Strings"), held.strings);
    writeNumber(QStringLiteral("DelayFrom"), held.delayFrom.count());
    writeNumber(QStringLiteral("DelayTo"), held.delayTo.count());
    writeNumber(QStringLiteral("ParTime"), held.par ? held.par->count() : 0);
    writeNumber(QStringLiteral("ShortPause"), held.shortPause ? 1 : 0);
}

} // namespace app
