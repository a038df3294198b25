#include "tools/replay/ToolOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace replay {

int fail(const QString& message, int status) {
    std::fprintf(stderr, "vantorel-replay: %s\n", message.toLocal8Bit().constData());
    return status;
}

bool outputIntact(QString& why) {
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0)
        return true;
    why = QStringLiteral("cannot write the results: %1")
              .arg(QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

} // namespace replay
