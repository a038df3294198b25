#pragma once
// Files written by the bytes the system gave their names, never waiting and
// never leaving half a file: only regular files are written (a FIFO or a
// device in a file's place is refused, not waited on), and a write that
// fails says why in the system's words ("No space left on device").

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QFile;

namespace platform {

// Creates a new file holding exactly data; nothing that stands at path is
// opened, followed or changed. On a failure nothing is left of the new file.
bool writeNewFile(const QByteArray& path, QByteArrayView data, QString& reason);

// Puts a regular file holding exactly data at path: written in full to a
// temporary file beside it, then renamed over whatever stands there. A
// failure (a full disk) leaves the old file as it was. A symbolic link is
// followed and the file it names replaced; an existing file keeps its
// permissions.
bool replaceFile(const QByteArray& path, QByteArrayView data, QString& reason);

// Opens a regular file for reading and appending, created (empty) when it is
// missing; anything else in its place is refused at once.
bool openRegularFileForAppend(const QByteArray& path, QFile& file, QString& reason);

// Writes all of data at the file's end; false with the system's reason when
// only part of it (or nothing) could be written.
bool appendWhole(QFile& file, QByteArrayView data, QString& reason);

} // namespace platform
