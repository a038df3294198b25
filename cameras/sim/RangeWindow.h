#pragma once
// The simulated range: the simulated camera's view of the paper target,
// large. A click fires one laser pulse at the point clicked. It stands beside
// the main window, and closing it closes that window, which ends the program.

#include <QImage>
#include <QPointer>
#include <QWidget>

class QTimer;

namespace simcamera {

class SimulatedCamera;

class RangeWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int ViewWidth = 480;
    static constexpr int ViewHeight = 360;
    static constexpr int PulseFrames = 3; // about 100 ms at 30 frames a second

    explicit RangeWindow(simcamera::SimulatedCamera& camera, QWidget* parent = nullptr);

    // Fires a pulse at a point of the view, in pixels of this window.
    void fireAt(QPoint point);

    // Shows this window beside `main` once that is on the screen: a window
    // manager places a window only when it maps it.
    void showBeside(QWidget& main);
    // Where a window of `size` (frame included) goes beside the frame of the
    // main window: level with it, right of it or else left of it, never off
    // the screen. Where neither side has room but the screen is wide enough
    // for both, the main window moves over; otherwise the roomier side.
    struct Placement {
        QPoint main; // top left of the main window's frame
        QPoint range;
    };
    static Placement besideMain(const QRect& mainFrame, QSize size, const QRect& screen);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void placeAndShow();

    simcamera::SimulatedCamera& camera_;
    QTimer* refreshTimer_;
    QImage view_;
    QPointer<QWidget> main_;
};

} // namespace simcamera
