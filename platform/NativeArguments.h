#pragma once
// The command line's arguments as the system gave them. Qt hands arguments
// over as text, and a file name whose bytes are not UTF-8 comes out with
// replacement characters, naming another file; this finds its bytes again.

#include <QByteArray>
#include <QString>

namespace platform {

// The bytes of the argument that reads as value, or of the part after the
// first '=' of an argument "--name=value"; the first such when several read
// the same. Falls back to the value's own local encoding.
QByteArray nativeArgument(const QString& value);

} // namespace platform
