#include "platform/Folders.h"

#include <QDir>

namespace platform {

QString dataFolder() {
    // An XDG_DATA_HOME that is not absolute is to be ignored.
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (!dataHome.isEmpty() && QDir::isAbsolutePath(dataHome))
        return QDir::cleanPath(dataHome);
    return QDir::homePath() + QStringLiteral("/.local/share");
}

QString fontsFolder() {
    return dataFolder() + QStringLiteral("/fonts");
}

} // namespace platform
