#pragma once
// The modes a camera lists (resolution, frame rate, pixel layout) and the
// choice of the one to open it in.

#include <QSize>
#include <QString>
#include <QVideoFrameFormat>
#include <vector>

namespace qtcamera {

struct CameraMode {
    QSize resolution;
    float maxFrameRate = 0;
    QVideoFrameFormat::PixelFormat pixelFormat = QVideoFrameFormat::Format_Invalid;

    // "640 x 480, 30 fps, YUYV", as the format dialog lists it.
    QString label() const;
};

// The frame rate a mode must reach to feed a 30-per-second preview; cameras
// often list 29.97 for 30.
constexpr float PreviewFrameRate = 29.5F;

// The index of the mode closest to the output size, preferring modes that
// reach the preview rate, then modes whose 4:3 middle is at least as large as
// the output (no upscaling), then layouts the conversion reads directly.
// -1 for an empty list.
int chooseCameraMode(const std::vector<CameraMode>& modes, QSize output);

} // namespace qtcamera
