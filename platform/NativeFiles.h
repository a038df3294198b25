#pragma once
// Files named by the bytes the system gave, opened and listed without ever
// waiting: a FIFO or a device where a file is expected is refused, never read
// from, and a name that is not valid UTF-8 still works.

#include <QByteArray>
#include <QString>
#include <vector>

class QFile;

namespace platform {

enum class PathKind { Missing, Directory, RegularFile, Other };

// What the path names; Missing also when it cannot be looked at, with the
// system's reason in `reason`.
PathKind pathKind(const QByteArray& path, QString& reason);

// Opens a regular file for reading. Answers false with the system's reason,
// or "not a regular file"; `missing` tells a file that is not there.
bool openRegularFile(const QByteArray& path, QFile& file, QString& reason, bool* missing = nullptr);

// The names in a folder that are not folders themselves, in no order.
bool listFiles(const QByteArray& folder, std::vector<QByteArray>& names, QString& reason);
// The names of the folders in a folder (without "." and ".."), in no order.
bool listFolders(const QByteArray& folder, std::vector<QByteArray>& names, QString& reason);

// Makes one new folder; false with the system's reason, and `existed` set
// when something stands there already.
bool makeFolder(const QByteArray& path, QString& reason, bool* existed = nullptr);
// Makes the folder and each missing one above it ("mkdir -p"); false with
// the folder that could not be made and the system's reason.
bool makeFolders(const QByteArray& path, QString& reason);

// Whether new names can be made in the folder; false with the system's
// reason.
bool canCreateIn(const QByteArray& folder, QString& reason);

// The system's text for an error number ("No space left on device").
QString systemError(int error);

} // namespace platform
