#pragma once
// The per-user settings store: application, section and key to a text value.
// On Linux an INI file under the user's configuration folder.

#include <QString>

namespace platform {

// The stored text, or defaultText when the key is absent or unreadable.
QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultText);
// Creates or replaces the value; it is on disk when this returns. A store
// that cannot be written is survived silently (answers false).
bool SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& text);

} // namespace platform
