#include "platform/Shell.h"

#include <QDesktopServices>
#include <QUrl>
#include <utility>

namespace platform {
namespace {
OpenHandler& handlerSlot() {
    static OpenHandler handler;
    return handler;
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
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace platform
