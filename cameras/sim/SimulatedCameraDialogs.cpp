#include "cameras/sim/SimulatedCameraDialogs.h"

#include "capture/service/ShotTallyView.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>
#include <array>
#include <cstdlib>

namespace simcamera {

namespace {

struct FrameSize {
    std::int32_t width;
    std::int32_t height;
};
constexpr std::array<FrameSize, 3> FrameSizes{{{160, 120}, {320, 240}, {640, 480}}};

const QColor RedDot(255, 40, 40);
const QColor GreenDot(40, 255, 40);

QDialogButtonBox* addButtons(QDialog* dialog, QLayout* layout) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
    return buttons;
}

} // namespace

SimulatedFormatDialog::SimulatedFormatDialog(std::int32_t width, std::int32_t height,
                                             std::int16_t bitCount, QWidget* parent)
    : QDialog(parent), sizeBox_(new QComboBox(this)), depthBox_(new QComboBox(this)) {
    setObjectName(QStringLiteral("SimulatedFormatDialog"));
    setWindowTitle(QStringLiteral("Video Format"));
    sizeBox_->setObjectName(QStringLiteral("sizeBox"));
    depthBox_->setObjectName(QStringLiteral("depthBox"));
    for (const FrameSize& size : FrameSizes) {
        sizeBox_->addItem(QStringLiteral("%1 x %2").arg(size.width).arg(size.height));
        if (size.width == width && size.height == std::abs(height))
            sizeBox_->setCurrentIndex(sizeBox_->count() - 1);
    }
    depthBox_->addItems({QStringLiteral("24"), QStringLiteral("32")});
    depthBox_->setCurrentIndex(bitCount == 32 ? 1 : 0);

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Output size:"), sizeBox_);
    form->addRow(QStringLiteral("Bits per pixel:"), depthBox_);
    layout->addLayout(form);
    addButtons(this, layout);
}

std::int32_t SimulatedFormatDialog::chosenWidth() const {
    return FrameSizes.at(static_cast<std::size_t>(sizeBox_->currentIndex())).width;
}

std::int32_t SimulatedFormatDialog::chosenHeight() const {
    return FrameSizes.at(static_cast<std::size_t>(sizeBox_->currentIndex())).height;
}

std::int16_t SimulatedFormatDialog::chosenBitCount() const {
    return depthBox_->currentIndex() == 1 ? 32 : 24;
}

SimulatedSourceDialog::SimulatedSourceDialog(const SimulatedScene& scene, QWidget* parent)
    : QDialog(parent), ambientBox_(new QSpinBox(this)), noiseBox_(new QDoubleSpinBox(this)),
      dotSizeBox_(new QDoubleSpinBox(this)), dotColourBox_(new QComboBox(this)) {
    setObjectName(QStringLiteral("SimulatedSourceDialog"));
    setWindowTitle(QStringLiteral("Video Source"));
    ambientBox_->setObjectName(QStringLiteral("ambientBox"));
    ambientBox_->setRange(0, 255);
    ambientBox_->setValue(scene.ambient);
    noiseBox_->setObjectName(QStringLiteral("noiseBox"));
    noiseBox_->setRange(0.0, 50.0);
    noiseBox_->setSingleStep(0.5);
    noiseBox_->setValue(scene.noise);
    dotSizeBox_->setObjectName(QStringLiteral("dotSizeBox"));
    dotSizeBox_->setRange(0.5, 20.0);
    dotSizeBox_->setSingleStep(0.5);
    dotSizeBox_->setValue(scene.dotRadius);
    dotColourBox_->setObjectName(QStringLiteral("dotColourBox"));
    dotColourBox_->addItem(QStringLiteral("Red"), RedDot);
    dotColourBox_->addItem(QStringLiteral("Green"), GreenDot);
    if (scene.dotColor == GreenDot) {
        dotColourBox_->setCurrentIndex(1);
    } else if (scene.dotColor != RedDot) { // keep a colour set elsewhere selectable
        dotColourBox_->addItem(QStringLiteral("Current"), scene.dotColor);
        dotColourBox_->setCurrentIndex(2);
    }

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Room light:"), ambientBox_);
    form->addRow(QStringLiteral("Sensor noise:"), noiseBox_);
    form->addRow(QStringLiteral("Laser dot size:"), dotSizeBox_);
    form->addRow(QStringLiteral("Laser dot colour:"), dotColourBox_);
    layout->addLayout(form);
    layout->addWidget(new capture::ShotTallyView(this));
    addButtons(this, layout);
}

void SimulatedSourceDialog::applyTo(SimulatedScene& scene) const {
    scene.ambient = ambientBox_->value();
    scene.noise = noiseBox_->value();
    scene.dotRadius = dotSizeBox_->value();
    scene.dotColor = dotColourBox_->currentData().value<QColor>();
}

} // namespace simcamera
