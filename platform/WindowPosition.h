#pragma once
// Where the program's windows stood when it last ran: the top left of each
// window's frame, kept in the settings store (section "Window", one key a
// window) as "x y". A stored place is used again only where a screen still
// shows the window's title bar, so a damaged value or a screen unplugged
// since leaves the window where the desktop puts it.

#include "platform/ProgramEnd.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

class QWidget;

namespace platform {

// The section of the settings store with the windows' places and the view.
QString windowSection();

// "x y" for a place, and the place of such a text; none for anything else.
QString positionText(QPoint position);
std::optional<QPoint> readPositionText(const QString& text);

// True when a window whose frame has its top left at `position` shows the
// start of its title bar wholly on one of these screen areas.
bool reachableOn(QPoint position, const QList<QRect>& areas);
// The screens' areas for windows, now (without panels and docks).
QList<QRect> availableScreenAreas();

// The place stored under `key`, when it reads and is reachable now.
std::optional<QPoint> storedWindowPosition(const QString& key);
void storeWindowPosition(const QString& key, QPoint position);

// Keeps a window's place under `key` when the program ends: where it stands
// then, or, in full screen or maximised (the screen's place, not its own),
// where it stood before. A window never shown keeps no place. A child of the
// window.
class WindowPositionKeeper : public QObject {
    Q_OBJECT
public:
    WindowPositionKeeper(QWidget& window, QString key);

    // The window's own place now, or last; none before it was shown.
    std::optional<QPoint> position() const;
    // Writes that place (the program's end does this).
    void store() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool standsFree() const;

    QWidget& window_;
    const QString key_;
    std::optional<QPoint> last_;
    LastWords atEnd_;
};

} // namespace platform
