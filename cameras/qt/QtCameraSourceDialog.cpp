#include "cameras/qt/QtCameraSourceDialog.h"

#include "cameras/qt/QtCameraDriver.h"
#include "capture/service/ShotTallyView.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

namespace qtcamera {

QtCameraSourceDialog::QtCameraSourceDialog(QtCameraDriver& driver, QWidget* parent)
    : QDialog(parent), driver_(driver), frameRate_(new QLabel(this)), brightness_(new QLabel(this)),
      advice_(new QLabel(this)), tally_(new capture::ShotTallyView(this)) {
    setObjectName(QStringLiteral("QtCameraSourceDialog"));
    setWindowTitle(QStringLiteral("Video Source"));
    setModal(true);
    frameRate_->setObjectName(QStringLiteral("frameRate"));
    brightness_->setObjectName(QStringLiteral("meanBrightness"));
    advice_->setObjectName(QStringLiteral("brightnessAdvice"));
    advice_->setWordWrap(true);

    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Frame rate:"), frameRate_);
    layout->addRow(QStringLiteral("Picture brightness:"), brightness_);
    layout->addRow(advice_);

    for (const CameraControl& control : driver_.feed().controls()) {
        const QString name = CameraControl::name(control.kind);
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setObjectName(name);
        slider->setRange(control.minimum, control.maximum);
        slider->setSingleStep(control.step);
        slider->setPageStep(std::max(control.step, (control.maximum - control.minimum) / 10));
        slider->setValue(control.value);
        auto* value = new QLabel(QString::number(control.value), this);
        value->setObjectName(name + QStringLiteral("Value"));
        value->setMinimumWidth(48);
        connect(slider, &QSlider::valueChanged, this, [this, kind = control.kind, value](int v) {
            value->setNum(v);
            driver_.feed().setControl(kind, v);
        });
        auto* row = new QHBoxLayout;
        row->addWidget(slider, 1);
        row->addWidget(value);
        layout->addRow(name + QLatin1Char(':'), row);
    }

    layout->addRow(tally_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::AcceptRole);
    close->setObjectName(QStringLiteral("close"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addRow(buttons);

    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &QtCameraSourceDialog::refresh);
    timer->start(500);
    refresh();
}

void QtCameraSourceDialog::refresh() {
    tally_->refresh();
    const double rate = driver_.signalLost() ? 0 : driver_.measuredFrameRate();
    if (driver_.signalLost() && !driver_.failure().isEmpty())
        frameRate_->setText(QStringLiteral("No signal: %1").arg(driver_.failure()));
    else if (driver_.signalLost())
        frameRate_->setText(QStringLiteral("No signal"));
    else if (rate <= 0)
        frameRate_->setText(QStringLiteral("Waiting for pictures"));
    else
        frameRate_->setText(QStringLiteral("%1 frames per second").arg(rate, 0, 'f', 1));

    const auto mean = driver_.meanBrightness();
    if (!mean) {
        brightness_->setText(QStringLiteral("Not measured yet"));
        advice_->clear();
        return;
    }
    brightness_->setText(QStringLiteral("%1 of 255").arg(*mean));
    advice_->setText(*mean >= TooBright
                         ? QStringLiteral("Too bright: dim the room or lower the exposure, or the "
                                          "laser dot may be missed.")
                         : QStringLiteral("Dark enough for the laser dot to stand out."));
}

} // namespace qtcamera
