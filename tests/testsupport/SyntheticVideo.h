#pragma once
// Made-up camera videos: 640 x 480 pictures of a dim, even target on which a
// laser dot of one to a few camera pixels shows in some frames, saved as
// PNG files and encoded by gst-launch-1.0. Grey paper and white dots carry
// no colour, so a YUV encoding keeps them but for rounding.

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <vector>

namespace testsupport {

struct LaserDot {
    int frame = 0;
    QPoint at; // its top left camera pixel
    int size = 1;
};

// Writes 000.png, 001.png, ... into the folder; false when one cannot be
// written.
inline bool writeLaserPictures(const QString& folder, int frames,
                               const std::vector<LaserDot>& dots) {
    for (int i = 0; i < frames; ++i) {
        QImage picture(640, 480, QImage::Format_RGB32);
        picture.fill(QColor(28, 28, 28));
        for (const LaserDot& dot : dots)
            if (dot.frame == i)
                for (int y = dot.at.y(); y < dot.at.y() + dot.size; ++y)
                    for (int x = dot.at.x(); x < dot.at.x() + dot.size; ++x)
                        picture.setPixel(x, y, qRgb(250, 250, 250));
        if (!picture.save(QStringLiteral("%1/%2.png").arg(folder).arg(i, 3, 10, QLatin1Char('0'))))
            return false;
    }
    return true;
}

// Runs gst-launch-1.0 on the pipeline, given as its words; its messages when
// it fails, empty when it succeeds.
inline QString launchPipeline(const QStringList& pipeline) {
    QProcess launch;
    launch.start(QStringLiteral("gst-launch-1.0"), QStringList{"-q"} + pipeline);
    if (!launch.waitForFinished(120000) || launch.exitStatus() != QProcess::NormalExit ||
        launch.exitCode() != 0)
        return QStringLiteral("gst-launch-1.0 %1 failed: %2")
            .arg(pipeline.join(' '), launch.readAllStandardError() + launch.errorString());
    return {};
}

// Encodes the folder's pictures by the elements after the conversion, as
// gst-launch-1.0 writes them ("video/x-raw,format=I420 ! avimux"); the
// failure as launchPipeline() gives it.
inline QString encodePictures(const QString& folder, const QString& video,
                              const QString& encoding) {
    return launchPipeline(QStringList{"multifilesrc", "location=" + folder + "/%03d.png", "index=0",
                                      "caps=image/png,framerate=30/1", "!", "pngdec", "!",
                                      "videoconvert", "!"} +
                          encoding.split(' ') + QStringList{"!", "filesink", "location=" + video});
}

} // namespace testsupport
