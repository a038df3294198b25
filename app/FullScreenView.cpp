#include "app/FullScreenView.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <algorithm>

namespace app {

FullScreenView::FullScreenView(QWidget* client, QWidget* parent) : QGraphicsView(parent) {
    setObjectName(QStringLiteral("fullScreenView"));
    setScene(new QGraphicsScene(this));
    scene()->setBackgroundBrush(Qt::black);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The pictures enlarged smoothly, the text drawn afresh at its size.
    setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                   QPainter::TextAntialiasing);
    setAlignment(Qt::AlignCenter);
    proxy_ = scene()->addWidget(client);
    // The keys go to the client's focus widget, as in the designed window.
    setFocusPolicy(Qt::StrongFocus);
    scene()->setFocusItem(proxy_);
    fit();
}

QWidget* FullScreenView::release() {
    QWidget* client = proxy_->widget();
    if (client != nullptr)
        proxy_->setWidget(nullptr);
    return client;
}

double FullScreenView::factor() const {
    return transform().m11();
}

double FullScreenView::factorFor(QSize client, QSize area) {
    if (client.isEmpty() || area.isEmpty())
        return 1.0;
    return std::min(static_cast<double>(area.width()) / client.width(),
                    static_cast<double>(area.height()) / client.height());
}

void FullScreenView::resizeEvent(QResizeEvent* event) {
    QGraphicsView::resizeEvent(event);
    fit();
}

void FullScreenView::fit() {
    const QRectF client = proxy_->sceneBoundingRect();
    const double scale = factorFor(client.size().toSize(), viewport()->size());
    setSceneRect(client);
    setTransform(QTransform::fromScale(scale, scale));
    centerOn(client.center());
}

} // namespace app
