#include "app/StateLamp.h"

#include <QPainter>
#include <algorithm>

namespace app {

StateLamp::StateLamp(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void StateLamp::setState(State state) {
    if (state_ == state)
        return;
    state_ = state;
    setAccessibleName(caption());
    update();
}

QString StateLamp::caption() const {
    switch (state_) {
    case State::Idle:
        return QStringLiteral("New Game?");
    case State::Wait:
        return QStringLiteral("Wait");
    case State::Ready:
        return QStringLiteral("Ready");
    case State::Finished:
        return QStringLiteral("Finished");
    case State::Early:
        return QStringLiteral("Early");
    }
    return {};
}

void StateLamp::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The colours of a traffic light: only green means a shot counts.
    QColor light(70, 70, 70);
    if (state_ == State::Ready)
        light = QColor(40, 220, 60);
    else if (state_ == State::Wait)
        light = QColor(250, 170, 20);
    else if (state_ == State::Early)
        light = QColor(230, 40, 30);
    const int diameter = height() - 4;
    const QRect lamp(2, 2, diameter, diameter);
    painter.setPen(QPen(QColor(40, 40, 40), 1));
    painter.setBrush(light);
    painter.drawEllipse(lamp);
    // The word as tall as the lamp: it is meant to be read from afar.
    QFont word = font();
    word.setPixelSize(std::max(8, diameter));
    painter.setFont(word);
    painter.setPen(QColor(20, 20, 20));
    painter.drawText(rect().adjusted(lamp.right() + 6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     caption());
}

} // namespace app
