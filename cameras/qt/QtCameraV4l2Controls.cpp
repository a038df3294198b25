#include "cameras/qt/QtCameraV4l2Controls.h"

#include <QCameraDevice>
#include <QDir>
#include <QFile>
#include <QMediaDevices>
#include <QtGlobal> // Q_OS_LINUX: the controls below are V4L2, Linux only
#include <algorithm>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace qtcamera {
namespace {

QByteArray attribute(const QString& node, const char* name) {
    QFile file(node + QLatin1Char('/') + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
}

} // namespace

QString QtCameraV4l2Controls::findNode(const QCameraDevice& camera) {
    int sameNameBefore = 0;
    for (const QCameraDevice& listed : QMediaDevices::videoInputs()) {
        if (listed == camera)
            break;
        sameNameBefore += listed.description() == camera.description() ? 1 : 0;
    }
    return findNode(QString::fromUtf8(camera.id()), camera.description(), sameNameBefore);
}

QString QtCameraV4l2Controls::findNode(const QString& id, const QString& description,
                                       int sameNameBefore, const QString& sysClass) {
    if (id.startsWith(QLatin1String("/dev/")))
        return id;
    QStringList nodes =
        QDir(sysClass).entryList({QStringLiteral("video*")}, QDir::Dirs | QDir::System);
    std::sort(nodes.begin(), nodes.end(), [](const QString& a, const QString& b) {
        return a.mid(5).toInt() < b.mid(5).toInt();
    });
    for (const QString& node : nodes) {
        const QString path = sysClass + QLatin1Char('/') + node;
        // V4L2 cuts names to 31 bytes; a camera's second node (index 1) holds
        // its metadata, not its pictures.
        const QByteArray name = attribute(path, "name");
        const bool named =
            !name.isEmpty() && (QString::fromUtf8(name) == description ||
                                (name.size() >= 31 && description.toUtf8().startsWith(name)));
        if (named && attribute(path, "index").toInt() == 0 && sameNameBefore-- == 0)
            return QStringLiteral("/dev/") + node;
    }
    return {};
}

#ifdef Q_OS_LINUX
namespace {

std::uint32_t controlId(CameraControl::Kind kind) {
    switch (kind) {
    case CameraControl::Kind::Exposure:
        return V4L2_CID_EXPOSURE_ABSOLUTE;
    case CameraControl::Kind::Gain:
        return V4L2_CID_GAIN;
    case CameraControl::Kind::Brightness:
        break;
    }
    return V4L2_CID_BRIGHTNESS;
}

int xioctl(int fd, unsigned long request, void* arg) {
    int answer = 0;
    do {
        answer = ::ioctl(fd, request, arg);
    } while (answer < 0 && errno == EINTR);
    return answer;
}

} // namespace

QtCameraV4l2Controls::QtCameraV4l2Controls(const QString& devicePath) {
    if (!devicePath.startsWith(QLatin1String("/dev/")))
        return;
    fd_ = ::open(devicePath.toLocal8Bit().constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    v4l2_capability caps{};
    if (fd_ >= 0 && (xioctl(fd_, VIDIOC_QUERYCAP, &caps) < 0 ||
                     (caps.device_caps & V4L2_CAP_VIDEO_CAPTURE) == 0)) {
        ::close(fd_);
        fd_ = -1;
    }
}

QtCameraV4l2Controls::~QtCameraV4l2Controls() {
    if (fd_ >= 0)
        ::close(fd_);
}

CameraControls QtCameraV4l2Controls::list() const {
    CameraControls controls;
    if (fd_ < 0)
        return controls;
    for (auto kind : {CameraControl::Kind::Exposure, CameraControl::Kind::Gain,
                      CameraControl::Kind::Brightness}) {
        v4l2_queryctrl query{};
        query.id = controlId(kind);
        if (xioctl(fd_, VIDIOC_QUERYCTRL, &query) < 0 ||
            (query.flags & V4L2_CTRL_FLAG_DISABLED) != 0 || query.type != V4L2_CTRL_TYPE_INTEGER)
            continue;
        v4l2_control current{};
        current.id = query.id;
        if (xioctl(fd_, VIDIOC_G_CTRL, &current) < 0)
            current.value = query.default_value;
        controls.push_back(
            {kind, query.minimum, query.maximum, query.step > 0 ? query.step : 1, current.value});
    }
    return controls;
}

bool QtCameraV4l2Controls::set(CameraControl::Kind kind, int value) {
    if (fd_ < 0)
        return false;
    if (kind == CameraControl::Kind::Exposure) {
        v4l2_control manual{V4L2_CID_EXPOSURE_AUTO, V4L2_EXPOSURE_MANUAL};
        xioctl(fd_, VIDIOC_S_CTRL, &manual); // cameras without automatic exposure refuse it
    }
    v4l2_control control{controlId(kind), value};
    return xioctl(fd_, VIDIOC_S_CTRL, &control) == 0;
}

#else

QtCameraV4l2Controls::QtCameraV4l2Controls(const QString&) {}
QtCameraV4l2Controls::~QtCameraV4l2Controls() = default;
CameraControls QtCameraV4l2Controls::list() const {
    return {};
}
bool QtCameraV4l2Controls::set(CameraControl::Kind, int) {
    return false;
}

#endif

} // namespace qtcamera
