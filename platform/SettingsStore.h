#pragma once
// The per-user settings store: application, section and key to a text value.
// On Linux the INI file <config folder>/<application>/<application>.ini
// (XDG_CONFIG_HOME, else ~/.config), the file QSettings would use.
//
// The store never waits: a settings file that is not a regular file or is
// larger than any the program writes is not read, a lock held elsewhere is
// given up after half a second. Such a store is survived (the default text
// is answered, a change is not written) and its reason is reported.

#include <QString>
#include <functional>

namespace platform {

// The stored text, or defaultText when the key is absent or unreadable.
QString readSetting(const QString& application, const QString& section, const QString& key,
                    const QString& defaultText);
// Creates or replaces the value; it is on disk when this returns. The file is
// left untouched when it holds the text already, and only the key's line
// changes otherwise. Answers false when the store cannot be written.
bool writeSetting(const QString& application, const QString& section, const QString& key,
                  const QString& text);

// Told, on every failed read or save, why the settings cannot be kept; a
// sentence for the user. Empty: failures go unreported. Answers the handler
// it replaces.
using SettingsProblemHandler = std::function<void(const QString& why)>;
SettingsProblemHandler setSettingsProblemHandler(SettingsProblemHandler handler);

} // namespace platform
