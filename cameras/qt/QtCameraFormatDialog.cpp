#include "cameras/qt/QtCameraFormatDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSize>
#include <array>
#include <cstdlib>

namespace qtcamera {
namespace {

constexpr std::array<QSize, 3> OutputSizes{QSize(160, 120), QSize(320, 240), QSize(640, 480)};
constexpr std::array<std::int16_t, 2> BitDepths{24, 32};

} // namespace

QtCameraFormatDialog::QtCameraFormatDialog(const std::vector<CameraMode>& modes,
                                           const QtCameraSettings& current, QWidget* parent)
    : QDialog(parent), current_(current), outputSize_(new QComboBox(this)),
      bitDepth_(new QComboBox(this)), cameraMode_(new QComboBox(this)) {
    setObjectName(QStringLiteral("QtCameraFormatDialog"));
    setWindowTitle(QStringLiteral("Video Format"));
    setModal(true);

    outputSize_->setObjectName(QStringLiteral("outputSize"));
    for (const QSize& size : OutputSizes) {
        outputSize_->addItem(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()));
        if (size == QSize(current.output.width, std::abs(current.output.height)))
            outputSize_->setCurrentIndex(outputSize_->count() - 1);
    }
    bitDepth_->setObjectName(QStringLiteral("bitDepth"));
    for (const std::int16_t depth : BitDepths) {
        bitDepth_->addItem(QStringLiteral("%1 bits").arg(depth));
        if (depth == current.output.bitCount)
            bitDepth_->setCurrentIndex(bitDepth_->count() - 1);
    }
    cameraMode_->setObjectName(QStringLiteral("cameraMode"));
    cameraMode_->addItem(QStringLiteral("Automatic (closest to the output size)"), -1);
    for (std::size_t i = 0; i < modes.size(); ++i)
        cameraMode_->addItem(modes[i].label(), static_cast<int>(i));
    const int modeRow = cameraMode_->findData(current.modeIndex);
    cameraMode_->setCurrentIndex(modeRow >= 0 ? modeRow : 0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Picture size:"), outputSize_);
    layout->addRow(QStringLiteral("Colour depth:"), bitDepth_);
    layout->addRow(QStringLiteral("Camera mode:"), cameraMode_);
    layout->addRow(buttons);
}

QtCameraSettings QtCameraFormatDialog::chosen() const {
    QtCameraSettings settings = current_;
    const QSize size =
        OutputSizes[static_cast<std::size_t>(std::max(outputSize_->currentIndex(), 0))];
    settings.output.width = size.width();
    settings.output.height = size.height(); // rows bottom-up, as the program expects
    settings.output.bitCount =
        BitDepths[static_cast<std::size_t>(std::max(bitDepth_->currentIndex(), 0))];
    settings.modeIndex = cameraMode_->currentData().toInt();
    return settings;
}

} // namespace qtcamera
