#include "cameras/qt/QtCameraDevice.h"

#include <algorithm>
#include <cmath>

namespace qtcamera {

std::unique_ptr<QtCameraDevice> QtCameraDevice::open(const QCameraDevice& device) {
    if (device.isNull())
        return nullptr;
    std::unique_ptr<QtCameraDevice> camera(new QtCameraDevice(device));
    // A camera that cannot be opened reports its error from construction on.
    if (!camera->camera_ || camera->camera_->error() != QCamera::NoError)
        return nullptr;
    return camera;
}

QtCameraDevice::QtCameraDevice(const QCameraDevice& device)
    : device_(device), camera_(std::make_unique<QCamera>(device)),
      v4l2_(QtCameraV4l2Controls::findNode(device)) {
    // The sink goes on first: a camera set before it often stalls after one
    // frame or runs at half rate.
    session_.setVideoSink(&sink_);
    connect(&sink_, &QVideoSink::videoFrameChanged, this, &QtCameraFeed::frameArrived);
    connect(camera_.get(), &QCamera::errorOccurred, this,
            [this](QCamera::Error /*error*/, const QString& text) {
                emit failed(text.isEmpty() ? camera_->errorString() : text);
            });
    connect(camera_.get(), &QCamera::activeChanged, this, [this](bool active) {
        if (!active && camera_)
            emit failed(camera_->errorString().isEmpty() ? QStringLiteral("The camera stopped.")
                                                         : camera_->errorString());
    });
    // An unplugged camera may report nothing else: no error, still active.
    connect(&devices_, &QMediaDevices::videoInputsChanged, this, [this] {
        if (camera_ && !QMediaDevices::videoInputs().contains(device_))
            emit failed(QStringLiteral("The camera was unplugged."));
    });
}

QtCameraDevice::~QtCameraDevice() {
    release();
}

void QtCameraDevice::start() {
    // The stream runs while the camera is on the session; start() alone
    // does not start it on every backend.
    if (camera_) {
        session_.setCamera(camera_.get());
        camera_->start();
    }
}

std::vector<CameraMode> QtCameraDevice::modes() const {
    std::vector<CameraMode> list;
    for (const QCameraFormat& format : device_.videoFormats())
        list.push_back({format.resolution(), format.maxFrameRate(), format.pixelFormat()});
    return list;
}

void QtCameraDevice::useMode(int index) {
    const auto formats = device_.videoFormats();
    if (camera_ && index >= 0 && index < formats.size())
        camera_->setCameraFormat(formats[index]);
}

CameraControls QtCameraDevice::controls() const {
    CameraControls list;
    if (camera_ && camera_->supportedFeatures().testFlag(QCamera::Feature::ManualExposureTime)) {
        // Microseconds, so the slider has whole steps.
        const auto micro = [](float seconds) {
            return static_cast<int>(std::lround(seconds * 1e6F));
        };
        list.push_back({CameraControl::Kind::Exposure, micro(camera_->minimumExposureTime()),
                        micro(camera_->maximumExposureTime()), 1, micro(camera_->exposureTime())});
    }
    if (camera_ && camera_->supportedFeatures().testFlag(QCamera::Feature::IsoSensitivity)) {
        list.push_back({CameraControl::Kind::Gain, camera_->minimumIsoSensitivity(),
                        camera_->maximumIsoSensitivity(), 1, camera_->isoSensitivity()});
    }
    // What Qt does not offer, the device node may.
    for (const CameraControl& control : v4l2_.list()) {
        const bool offered = std::any_of(list.begin(), list.end(), [&](const CameraControl& c) {
            return c.kind == control.kind;
        });
        if (!offered)
            list.push_back(control);
    }
    return list;
}

void QtCameraDevice::setControl(CameraControl::Kind kind, int value) {
    const auto features = camera_ ? camera_->supportedFeatures() : QCamera::Features();
    if (kind == CameraControl::Kind::Exposure &&
        features.testFlag(QCamera::Feature::ManualExposureTime))
        camera_->setManualExposureTime(static_cast<float>(value) / 1e6F);
    else if (kind == CameraControl::Kind::Gain &&
             features.testFlag(QCamera::Feature::IsoSensitivity))
        camera_->setManualIsoSensitivity(value);
    else
        v4l2_.set(kind, value);
}

void QtCameraDevice::release() {
    if (!camera_)
        return;
    // Dropped first, so the stop below is not taken for a failure; taken off
    // the session, which is what stops the stream.
    std::unique_ptr<QCamera> camera = std::move(camera_);
    camera->disconnect(this);
    session_.setCamera(nullptr);
    camera->stop();
}

} // namespace qtcamera
