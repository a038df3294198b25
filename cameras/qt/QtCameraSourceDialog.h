#pragma once
// The camera's source dialog: how many pictures a second the camera really
// delivers and how bright the picture is (too bright a room is the first
// cause of missed shots), with the exposure, gain and brightness controls the
// camera offers, and why flashes did not count. Controls a camera lacks are
// not shown.

#include "cameras/qt/QtCameraControls.h"

#include <QDialog>

class QLabel;

namespace capture {
class ShotTallyView;
}

namespace qtcamera {

class QtCameraDriver;

class QtCameraSourceDialog : public QDialog {
    Q_OBJECT
public:
    QtCameraSourceDialog(QtCameraDriver& driver, QWidget* parent = nullptr);

    // Mean brightness from which the room counts as too bright.
    static constexpr int TooBright = 150;

    // Reads the rate, brightness and shot tally again (a timer does it twice
    // a second).
    void refresh();

private:
    QtCameraDriver& driver_;
    QLabel* frameRate_;
    QLabel* brightness_;
    QLabel* advice_;
    capture::ShotTallyView* tally_;
};

} // namespace qtcamera
