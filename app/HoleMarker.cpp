#include "app/HoleMarker.h"

#include "platform/Twips.h"

#include <QPainter>

namespace app {

HoleMarker::HoleMarker(float left, float top, QWidget* parent)
    : QWidget(parent), left_(left), top_(top) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(platform::twipsToPixels(Size), platform::twipsToPixels(Size));
    place();
}

void HoleMarker::setLeft(float left) {
    left_ = left;
    place();
}

void HoleMarker::setTop(float top) {
    top_ = top;
    place();
}

void HoleMarker::clipTo(const QRect& area) {
    clip_ = area;
    place();
}

void HoleMarker::place() {
    move(platform::twipsToPixels(left_), platform::twipsToPixels(top_));
    if (clip_.isNull())
        return;
    // A far miss must not cover the score card, the button or the frame.
    const QRect shown = clip_.intersected(geometry()).translated(-pos());
    setVisible(!shown.isEmpty());
    if (!shown.isEmpty())
        setMask(shown);
}

void HoleMarker::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(rect());
}

} // namespace app
