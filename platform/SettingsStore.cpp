// The settings store as an INI file under the user's configuration folder:
// one file per application, one group per section, text values.

#include "platform/SettingsStore.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

namespace platform {

namespace {

QString keyPath(const QString& section, const QString& key) {
    return section + QLatin1Char('/') + key;
}

} // namespace

QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultText) {
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope, application, application);
    const QVariant value = settings.value(keyPath(section, key));
    if (!value.isValid())
        return defaultText;
    // A hand-edited value with commas comes back as a list; give its text.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    if (value.typeId() == QMetaType::QString || value.canConvert<QString>())
        return value.toString();
    return defaultText; // a stored object that is no text at all
}

bool SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& text) {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, application, application);
    if (!settings.isWritable())
        return false;
    settings.setValue(keyPath(section, key), text);
    // On disk before returning, so a crash or a kill loses nothing.
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace platform
