#pragma once
// The text of an INI file as QSettings writes it and people edit it: one
// value read, or one value replaced with every other byte left as it was
// (comments, blank lines, other keys, bytes that are not UTF-8).

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// The text of key in [section] (the last line of it when written twice);
// nothing when the key is absent or holds a stored object ("@Rect(...)").
std::optional<QString> iniValue(const QByteArray& content, const QByteArray& section,
                                const QByteArray& key);

// The content with key's value replaced by text on its own line; a missing
// key is added at the end of its section, a missing section at the end.
QByteArray withIniValue(const QByteArray& content, const QByteArray& section, const QByteArray& key,
                        const QString& text);

} // namespace platform
