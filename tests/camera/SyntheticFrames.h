#pragma once
// Camera frames with known content, made the way a camera hands them over: a
// QVideoFrame of the wanted layout, mapped writable and filled from a picture
// given as a colour per pixel (YUV in BT.601 video range, chroma from the
// top-left pixel of each shared block).

#include <QColor>
#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <functional>

namespace cameratest {

using Picture = std::function<QColor(int x, int y)>;

QVideoFrame makeFrame(const QVideoFrameFormat& format, const Picture& picture,
                      qint64 startTimeUs = -1);

// A small frame of one grey level.
inline QVideoFrame
greyFrame(int level, qint64 startTimeUs,
          QVideoFrameFormat::PixelFormat layout = QVideoFrameFormat::Format_YUYV) {
    return makeFrame(
        {QSize(64, 48), layout}, [=](int, int) { return QColor(level, level, level); },
        startTimeUs);
}

} // namespace cameratest
