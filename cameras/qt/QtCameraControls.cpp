#include "cameras/qt/QtCameraControls.h"

namespace qtcamera {

QString CameraControl::name(Kind kind) {
    switch (kind) {
    case Kind::Exposure:
        return QStringLiteral("Exposure");
    case Kind::Gain:
        return QStringLiteral("Gain");
    case Kind::Brightness:
        break;
    }
    return QStringLiteral("Brightness");
}

} // namespace qtcamera
