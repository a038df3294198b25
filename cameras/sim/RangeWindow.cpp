#include "cameras/sim/RangeWindow.h"

#include "cameras/sim/SimulatedCamera.h"
#include "platform/WindowPosition.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <optional>

namespace simcamera {
namespace {

const QString PositionKey = QStringLiteral("RangeWindow");

} // namespace

RangeWindow::RangeWindow(simcamera::SimulatedCamera& camera, QWidget* parent)
    : QWidget(parent), camera_(camera), refreshTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("RangeWindow"));
    setWindowTitle(QStringLiteral("Range"));
    setFixedSize(ViewWidth, ViewHeight);
    setCursor(Qt::CrossCursor);
    setToolTip(QStringLiteral("Click to fire the laser at that point"));
    connect(refreshTimer_, &QTimer::timeout, this, &RangeWindow::refresh);
    refreshTimer_->start(33);
    refresh();
    new platform::WindowPositionKeeper(*this, PositionKey); // a child: kept while this lives
}

void RangeWindow::fireAt(QPoint point) {
    camera_.firePulse(QPointF(static_cast<double>(point.x()) / width(),
                              static_cast<double>(point.y()) / height()),
                      PulseFrames);
}

void RangeWindow::showBeside(QWidget& main) {
    main_ = &main;
    if (main.windowHandle() == nullptr)
        main.winId(); // its native window, whose first exposure is awaited
    if (main.windowHandle()->isExposed())
        placeAndShow();
    else
        main.windowHandle()->installEventFilter(this);
}

bool RangeWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && main_ != nullptr && watched == main_->windowHandle() &&
        main_->windowHandle()->isExposed()) {
        watched->removeEventFilter(this);
        // After the expose, once the window manager's placement has arrived.
        QTimer::singleShot(0, this, &RangeWindow::placeAndShow);
    }
    return QWidget::eventFilter(watched, event);
}

void RangeWindow::placeAndShow() {
    if (main_ == nullptr)
        return;
    const QRect frame = main_->frameGeometry();
    // Not yet shown, this window's frame is taken to be as wide as the main window's.
    const QSize decoration = frame.size() - main_->size();
    const QSize designed(ViewWidth, ViewHeight);
    if (const std::optional<QPoint> stored = platform::storedWindowPosition(PositionKey)) {
        const QRect there(*stored, designed + decoration);
        const QList<QRect> areas = platform::availableScreenAreas();
        if (!there.intersects(frame) &&
            std::any_of(areas.begin(), areas.end(),
                        [&there](const QRect& area) { return area.contains(there); })) {
            move(*stored);
            show();
            return;
        }
    }
    const Placement place =
        besideMain(frame, designed, decoration, main_->screen()->availableGeometry());
    if (place.main != frame.topLeft())
        main_->move(place.main);
    setFixedSize(place.view);
    refresh();
    move(place.range);
    show();
}

RangeWindow::Placement RangeWindow::besideMain(const QRect& mainFrame, QSize view, QSize decoration,
                                               const QRect& screen) {
    constexpr int Gap = 10;
    QRect main = mainFrame;
    QSize size = view + decoration;
    const int roomRight = screen.right() - main.right() - Gap;
    const int roomLeft = main.left() - Gap - screen.left();
    bool onTheRight = roomRight >= roomLeft;
    // The widest view beside the main window at the screen's edge.
    const int widest = screen.width() - main.width() - Gap - decoration.width();
    if (roomRight >= size.width()) {
        onTheRight = true;
    } else if (roomLeft >= size.width()) {
        onTheRight = false;
    } else if (main.width() + Gap + size.width() <= screen.width()) {
        main.moveLeft(screen.right() + 1 - size.width() - Gap - main.width());
        onTheRight = true;
    } else if (widest >= SmallestWidth) {
        view = QSize(widest, view.height() * widest / view.width());
        size = view + decoration;
        if (onTheRight)
            main.moveLeft(screen.left());
        else
            main.moveRight(screen.right());
    }
    const int x = onTheRight ? main.right() + 1 + Gap : main.left() - Gap - size.width();
    const int right = screen.right() + 1 - size.width();
    const int bottom = screen.bottom() + 1 - size.height();
    return {main.topLeft(),
            {std::clamp(x, screen.left(), std::max(screen.left(), right)),
             std::clamp(main.top(), screen.top(), std::max(screen.top(), bottom))},
            view};
}

void RangeWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    // Nothing can open the range again: closing it ends the program.
    if (main_ != nullptr)
        main_->close();
}

void RangeWindow::refresh() {
    view_ = camera_.view(width(), height());
    update();
}

void RangeWindow::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (view_.isNull())
        painter.fillRect(rect(), Qt::black);
    else
        painter.drawImage(rect(), view_);
}

void RangeWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        fireAt(event->position().toPoint());
}

} // namespace simcamera
