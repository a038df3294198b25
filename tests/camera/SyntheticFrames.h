#pragma once
// Camera frames with known content, made the way a camera hands them over:
// a QVideoFrame of the wanted pixel layout, mapped writable and filled from a
// picture given as a colour per pixel.

#include <QColor>
#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <functional>

namespace cameratest {

using Picture = std::function<QColor(int x, int y)>;

// Fills every plane of a new frame from the picture (chroma from the top-left
// pixel of each shared block; YUV in BT.601 video range). Not for YUV422P,
// whose planes Qt 6.4 sizes for half the chroma rows.
QVideoFrame makeFrame(QVideoFrameFormat::PixelFormat format, QSize size, const Picture& picture,
                      qint64 startTimeUs = -1);

// Four quadrants: red top left, green top right, blue bottom left, white
// bottom right.
QColor quadrants(int x, int y, QSize size);

} // namespace cameratest
