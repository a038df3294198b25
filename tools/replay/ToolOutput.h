#pragma once
// How vantorel-replay ends: its exit statuses, its complaints on stderr and
// the check that its results reached stdout.

#include <QString>

namespace replay {

constexpr int ExitOutputLost = 1;        // results or settings not written
constexpr int ExitBadInput = 2;          // an option, path or picture
constexpr int ExitNoValues = 3;          // --tune: no values give the shots
constexpr int ExitAnalysisDisagrees = 4; // --tune: the check counted otherwise

// Prints "vantorel-replay: <message>" on stderr; answers the status.
int fail(const QString& message, int status = ExitBadInput);

// The results printed so far are on their way, or the reason they are lost.
bool outputIntact(QString& why);

} // namespace replay
