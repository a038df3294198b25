#include "platform/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <utility>

namespace platform {
namespace {
MessageHandler& handlerSlot() {
    static MessageHandler handler;
    return handler;
}
} // namespace

MessageHandler setMessageHandler(MessageHandler handler) {
    return std::exchange(handlerSlot(), std::move(handler));
}

int showMessage(const MessageRequest& request) {
    if (const auto& handler = handlerSlot())
        return handler(request);
    QMessageBox box;
    box.setText(request.text);
    box.setWindowTitle(request.title.isEmpty() ? QApplication::applicationName() : request.title);
    box.setIcon(request.icon == MessageIcon::Information ? QMessageBox::Information
                                                         : QMessageBox::NoIcon);
    if (request.buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? IDYES : IDNO;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return IDOK;
}

} // namespace platform
