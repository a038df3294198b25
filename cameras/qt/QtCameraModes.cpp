#include "cameras/qt/QtCameraModes.h"

#include "cameras/qt/VideoFrameConversion.h"
#include "capture/service/FrameConversion.h"

#include <cmath>
#include <cstdint>
#include <tuple>

namespace qtcamera {

QString CameraMode::label() const {
    return QStringLiteral("%1 x %2, %3 fps, %4")
        .arg(resolution.width())
        .arg(resolution.height())
        .arg(static_cast<double>(maxFrameRate), 0, 'g', 4)
        .arg(QVideoFrameFormat::pixelFormatToString(pixelFormat));
}

int chooseCameraMode(const std::vector<CameraMode>& modes, QSize output) {
    const std::int64_t outputArea = static_cast<std::int64_t>(output.width()) * output.height();
    auto rank = [&](const CameraMode& mode) {
        const QRect middle =
            capture::centreCrop43(mode.resolution.width(), mode.resolution.height());
        const bool tooSlow = mode.maxFrameRate < PreviewFrameRate;
        const bool tooSmall = middle.width() < output.width() || middle.height() < output.height();
        const std::int64_t area = static_cast<std::int64_t>(middle.width()) * middle.height();
        const bool slowLayout = !isDirectPixelFormat(mode.pixelFormat);
        return std::make_tuple(tooSlow, tooSmall, std::llabs(area - outputArea), slowLayout,
                               -mode.maxFrameRate);
    };
    int best = -1;
    for (std::size_t i = 0; i < modes.size(); ++i) {
        if (best < 0 || rank(modes[i]) < rank(modes[static_cast<std::size_t>(best)]))
            best = static_cast<int>(i);
    }
    return best;
}

} // namespace qtcamera
