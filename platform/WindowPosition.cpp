#include "platform/WindowPosition.h"

#include "platform/SettingsStore.h"

#include <QEvent>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <utility>

namespace platform {
namespace {

const QString Application = QStringLiteral("Vantorel");

// Enough of the title bar to take hold of and drag the window back.
constexpr QSize Grip(100, 20);

} // namespace

QString windowSection() {
    return QStringLiteral("Window");
}

QString positionText(QPoint position) {
    return QStringLiteral("%1 %2").arg(position.x()).arg(position.y());
}

std::optional<QPoint> readPositionText(const QString& text) {
    // Six digits are more than any desktop has; more would not fit an int.
    static const QRegularExpression form(QStringLiteral("^ *(-?\\d{1,6}) +(-?\\d{1,6}) *$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return QPoint(match.captured(1).toInt(), match.captured(2).toInt());
}

bool reachableOn(QPoint position, const QList<QRect>& areas) {
    const QRect grip(position, Grip);
    return std::any_of(areas.begin(), areas.end(),
                       [&grip](const QRect& area) { return area.contains(grip); });
}

QList<QRect> availableScreenAreas() {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    return areas;
}

std::optional<QPoint> storedWindowPosition(const QString& key) {
    const std::optional<QPoint> position =
        readPositionText(readSetting(Application, windowSection(), key, QString()));
    if (!position || !reachableOn(*position, availableScreenAreas()))
        return std::nullopt;
    return position;
}

void storeWindowPosition(const QString& key, QPoint position) {
    writeSetting(Application, windowSection(), key, positionText(position));
}

WindowPositionKeeper::WindowPositionKeeper(QWidget& window, QString key)
    : QObject(&window), window_(window), key_(std::move(key)), atEnd_([this] { store(); }) {
    window.installEventFilter(this);
}

namespace {
constexpr Qt::WindowStates NotItsOwn =
    Qt::WindowFullScreen | Qt::WindowMaximized | Qt::WindowMinimized;
} // namespace

bool WindowPositionKeeper::standsFree() const {
    return window_.isVisible() && (window_.windowState() & NotItsOwn) == 0;
}

std::optional<QPoint> WindowPositionKeeper::position() const {
    return standsFree() ? window_.pos() : last_;
}

void WindowPositionKeeper::store() const {
    if (const std::optional<QPoint> place = position())
        storeWindowPosition(key_, *place);
}

bool WindowPositionKeeper::eventFilter(QObject* watched, QEvent* event) {
    // Moves come after the state has changed: into full screen they are the
    // screen's, out of it the window's own again. (A change of state may be
    // told after the move it brought, so it tells nothing.)
    if (watched == &window_ && (event->type() == QEvent::Show || event->type() == QEvent::Move) &&
        standsFree())
        last_ = window_.pos();
    return false;
}

} // namespace platform
