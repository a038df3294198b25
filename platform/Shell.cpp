#include "platform/Shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <utility>

namespace platform {
namespace {

// The desktop answers within this; a query that takes longer is given up
// and the opener decides.
constexpr int QueryWaitMs = 5000;

OpenHandler& handlerSlot() {
    static OpenHandler handler;
    return handler;
}

// The desktop's opener hands a file of a type it has no program for to
// whatever it finds (a web browser offering to save it) and reports success;
// so ask first. Without the query tool the opener decides. The answer comes
// from the event loop, once.
void askForProgram(const QString& path, std::function<void(bool found)> answer) {
    // Owned by the application until the query ends; it ends the process
    // with it if the program ends first.
    auto* query = new QProcess(QCoreApplication::instance());
    auto settle = [query, answer = std::move(answer), settled = false](bool found) mutable {
        if (std::exchange(settled, true))
            return;
        query->disconnect();
        if (query->state() != QProcess::NotRunning)
            query->kill();
        query->deleteLater();
        answer(found);
    };
    auto shared = std::make_shared<decltype(settle)>(std::move(settle));
    QObject::connect(query, &QProcess::finished, query,
                     [query, shared](int code, QProcess::ExitStatus status) {
                         const bool named = status == QProcess::NormalExit && code == 0 &&
                                            !query->readAllStandardOutput().trimmed().isEmpty();
                         (*shared)(status != QProcess::NormalExit || named);
                     });
    QObject::connect(query, &QProcess::errorOccurred, query,
                     [shared](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart)
                             (*shared)(true);
                     });
    QTimer::singleShot(QueryWaitMs, query, [shared] { (*shared)(true); });
    query->start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                              QMimeDatabase().mimeTypeForFile(path).name()});
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

void openFile(const QString& path, OpenDone done) {
    if (!QFileInfo(path).isFile()) {
        done(false);
        return;
    }
    if (const auto& handler = handlerSlot()) {
        done(handler(path, true));
        return;
    }
    askForProgram(path, [path, done = std::move(done)](bool found) {
        done(found && QDesktopServices::openUrl(QUrl::fromLocalFile(path)));
    });
}

} // namespace platform
