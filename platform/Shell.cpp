#include "platform/Shell.h"

#include <QDesktopServices>
#include <QMimeDatabase>
#include <QProcess>
#include <QUrl>
#include <utility>

namespace platform {
namespace {
OpenHandler& handlerSlot() {
    static OpenHandler handler;
    return handler;
}
// The desktop's opener hands a file of a type it has no program for to
// whatever it finds (a web browser offering to save it) and reports success;
// so ask first. Without the query tool the opener decides.
bool hasProgramFor(const QString& path) {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                             QMimeDatabase().mimeTypeForFile(path).name()});
    if (!query.waitForStarted() || !query.waitForFinished(5000) ||
        query.exitStatus() != QProcess::NormalExit)
        return true;
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}
} // namespace

OpenHandler setOpenHandler(OpenHandler handler) {
    return std::exchange(handlerSlot(), std::move(handler));
}

bool openAddress(const QString& address) {
    if (const auto& handler = handlerSlot())
        return handler(address, false);
    return QDesktopServices::openUrl(QUrl(address));
}

bool openFile(const QString& path) {
    if (const auto& handler = handlerSlot())
        return handler(path, true);
    return hasProgramFor(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace platform
