#pragma once
// The simulated range: the simulated camera's view of the paper target,
// large. A click fires one laser pulse at the point clicked. It stands beside
// the main window, or where it stood when the program last ran, and closing
// it closes that window, which ends the program.

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
    // Smaller only where the screen has no room for the view beside the main
    // window; never smaller than the camera's own picture.
    static constexpr int SmallestWidth = 160;
    static constexpr int PulseFrames = 3; // about 100 ms at 30 frames a second

    explicit RangeWindow(simcamera::SimulatedCamera& camera, QWidget* parent = nullptr);

    // Fires a pulse at a point of the view, in pixels of this window.
    void fireAt(QPoint point);

    // Shows this window beside `main` once that is on the screen: a window
    // manager places a window only when it maps it. Where it stood when the
    // program last ran, if all of it still shows there and it covers none
    // of the main window.
    void showBeside(QWidget& main);
    // Where a window with a view of `view` and a frame around it of
    // `decoration` goes beside the frame of the main window: level with it,
    // right of it or else left of it, never off the screen. Where neither
    // side has room but the screen is wide enough for both, the main window
    // moves over; where the screen is narrower (a large text scale), the
    // main window moves to the screen's edge and the view shrinks, keeping
    // its shape, to the room beside it, so the target picture stays in view.
    // Where even that is too little, the roomier side, at the view's size.
    struct Placement {
        QPoint main;  // top left of the main window's frame
        QPoint range; // top left of this window's frame
        QSize view;
    };
    static Placement besideMain(const QRect& mainFrame, QSize view, QSize decoration,
                                const QRect& screen);

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
