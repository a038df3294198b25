#include "cameras/sim/RangeWindow.h"

#include "cameras/sim/SimulatedCamera.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace app {

RangeWindow::RangeWindow(platform::SimulatedCamera& camera, QWidget* parent)
    : QWidget(parent), camera_(camera), refreshTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("RangeWindow"));
    setWindowTitle(QStringLiteral("Range"));
    setFixedSize(ViewWidth, ViewHeight);
    setCursor(Qt::CrossCursor);
    setToolTip(QStringLiteral("Click to fire the laser at that point"));
    connect(refreshTimer_, &QTimer::timeout, this, &RangeWindow::refresh);
    refreshTimer_->start(33);
    refresh();
}

void RangeWindow::fireAt(QPoint point) {
    camera_.firePulse(QPointF(static_cast<double>(point.x()) / width(),
                              static_cast<double>(point.y()) / height()),
                      PulseFrames);
}

void RangeWindow::refresh() {
    view_ = camera_.view(ViewWidth, ViewHeight);
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

} // namespace app
