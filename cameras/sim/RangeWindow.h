#pragma once
// The simulated range: the simulated camera's view of the paper target,
// large. A click fires one laser pulse at the point clicked.

#include <QImage>
#include <QWidget>

class QTimer;

namespace platform {
class SimulatedCamera;
}

namespace app {

class RangeWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int ViewWidth = 480;
    static constexpr int ViewHeight = 360;
    static constexpr int PulseFrames = 3; // about 100 ms at 30 frames a second

    explicit RangeWindow(platform::SimulatedCamera& camera, QWidget* parent = nullptr);

    // Fires a pulse at a point of the view, in pixels of this window.
    void fireAt(QPoint point);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void refresh();

    platform::SimulatedCamera& camera_;
    QTimer* refreshTimer_;
    QImage view_;
};

} // namespace app
