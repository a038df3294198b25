#include "cameras/qt/QtCameraSource.h"

#include "cameras/qt/QtCameraDevice.h"
#include "cameras/qt/QtCameraDriver.h"

#include <QMediaDevices>

namespace platform {

QtCameraSource::QtCameraSource() : QtCameraSource(QMediaDevices::videoInputs()) {}

QtCameraSource::QtCameraSource(QList<QCameraDevice> cameras) : cameras_(std::move(cameras)) {
    if (cameras_.size() > DriverIndexes)
        cameras_.resize(DriverIndexes);
    for (auto& settings : settings_)
        settings = std::make_shared<QtCameraSettings>();
}

QtCameraSource::~QtCameraSource() = default;

QString QtCameraSource::backendName() {
    QString chosen = qEnvironmentVariable("QT_MEDIA_BACKEND");
    if (!chosen.isEmpty())
        return chosen;
#if defined(Q_OS_WIN)
    return QStringLiteral("windows");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("darwin");
#else
    return QStringLiteral("gstreamer");
#endif
}

bool QtCameraSource::describe(int index, std::string& name, std::string& version) {
    if (index < 0 || index >= count())
        return false;
    const QCameraDevice& camera = cameras_[index];
    name = camera.description().toStdString();
    version =
        (backendName() + QLatin1Char(' ') + QString::fromLocal8Bit(camera.id())).toStdString();
    return true;
}

std::shared_ptr<QtCameraSettings> QtCameraSource::settings(int index) const {
    if (index < 0 || index >= DriverIndexes)
        return nullptr;
    return settings_[static_cast<std::size_t>(index)];
}

std::unique_ptr<CaptureDriver> QtCameraSource::open(int index) {
    if (index < 0 || index >= count())
        return nullptr;
    // The driver being replaced may still hold the device; a camera cannot
    // be opened twice.
    auto& previous = open_[static_cast<std::size_t>(index)];
    if (previous)
        previous->release();
    std::unique_ptr<QtCameraDevice> camera = QtCameraDevice::open(cameras_[index]);
    if (!camera)
        return nullptr;
    previous = camera.get();
    return std::make_unique<QtCameraDriver>(std::move(camera),
                                            settings_[static_cast<std::size_t>(index)]);
}

} // namespace platform
