#pragma once
// The simulated camera's own dialogs: the output format (size and bit depth)
// and the video source (room light, sensor noise, laser dot size and colour,
// and why flashes did not count).

#include "cameras/sim/SimulatedCamera.h"

#include <QDialog>
#include <cstdint>

class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

namespace simcamera {

// objectName "SimulatedFormatDialog"; children "sizeBox" ("160 x 120",
// "320 x 240", "640 x 480"), "depthBox" ("24", "32"), "buttonBox".
class SimulatedFormatDialog : public QDialog {
    Q_OBJECT
public:
    SimulatedFormatDialog(std::int32_t width, std::int32_t height, std::int16_t bitCount,
                          QWidget* parent);
    std::int32_t chosenWidth() const;
    std::int32_t chosenHeight() const; // always positive
    std::int16_t chosenBitCount() const;

private:
    QComboBox* sizeBox_;
    QComboBox* depthBox_;
};

// objectName "SimulatedSourceDialog"; children "ambientBox", "noiseBox",
// "dotSizeBox", "dotColourBox" ("Red", "Green"), "shotTally" (why flashes
// did not count), "buttonBox".
class SimulatedSourceDialog : public QDialog {
    Q_OBJECT
public:
    SimulatedSourceDialog(const SimulatedScene& scene, QWidget* parent);
    void applyTo(SimulatedScene& scene) const;

private:
    QSpinBox* ambientBox_;
    QDoubleSpinBox* noiseBox_;
    QDoubleSpinBox* dotSizeBox_;
    QComboBox* dotColourBox_;
};

} // namespace simcamera
