#pragma once
// The main window's client area, large: the whole designed picture (target,
// score card, button, live picture, hole markers) scaled by one factor, as
// large as the view allows, centred on black. The client's widgets stay
// themselves, so they work and update as in the designed window.

#include <QGraphicsView>
#include <QSize>

class QGraphicsProxyWidget;

namespace app {

class FullScreenView : public QGraphicsView {
    Q_OBJECT
public:
    // Takes `client`, a widget without a parent, into the view; it is owned
    // here (by the scene's proxy) until `release` gives it back.
    FullScreenView(QWidget* client, QWidget* parent);

    // Gives the client back, without a parent, as it was taken.
    QWidget* release();

    // The factor the client is shown at now.
    double factor() const;
    // The factor for a client of `client` size in an `area`: the largest
    // that shows all of it.
    static double factorFor(QSize client, QSize area);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fit();

    QGraphicsProxyWidget* proxy_;
};

} // namespace app
