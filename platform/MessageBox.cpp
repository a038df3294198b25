#include "platform/MessageBox.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <utility>

namespace platform {
namespace {
MessageHandler& handlerSlot() {
    static MessageHandler handler;
    return handler;
}

// Qt leaves only a small margin beside the title; a window manager draws it
// in bold between a window icon and three buttons and cuts what does not fit.
// A spacer as wide as the title bar needs keeps the box at least that wide.
void makeRoomForTitle(QMessageBox& box) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    const QFontMetrics metrics(font);
    // The icon and the buttons, and a margin of one button's width each side.
    const int button = metrics.height() + 8;
    const int room = metrics.horizontalAdvance(box.windowTitle()) + 6 * button;
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr)
        return;
    // NOLINTNEXTLINE(cppcoreguidelines-owning-memory): owned by the layout
    grid->addItem(new QSpacerItem(room, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
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
        makeRoomForTitle(box);
        return box.exec() == QMessageBox::Yes ? IDYES : IDNO;
    }
    box.setStandardButtons(QMessageBox::Ok);
    makeRoomForTitle(box);
    box.exec();
    return IDOK;
}

} // namespace platform
