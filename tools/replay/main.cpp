// vantorel-replay: runs recorded frames through the capture window and the
// frame analysis, and prints every hit that reaches the target.

#include "capture/AVICAP.h"
#include "capture/CallBackFunctions.h"
#include "capture/ConnectionFunctions.h"
#include "capture/service/CaptureService.h"
#include "capture/service/CaptureWindow.h"
#include "detection/MotionDetection.h"
#include "platform/SeamGuard.h"
#include "tools/replay/FrameFiles.h"
#include "tools/replay/ReplayDriver.h"
#include "tools/replay/ReplayOptions.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr int exitOutputLost = 1;
constexpr int exitBadInput = 2;

// Stands in for the main window: a 6000-twip target picture, and every hit
// printed with the index of the frame that made it.
class PrintingTarget : public MotionDetection::HitTarget {
public:
    void SetHole(std::int32_t x, std::int32_t y, double score) override {
        // The first frame is compared with an empty picture, not with a
        // recorded one: a bright spot in it is no shot.
        if (frame == 0)
            return;
        std::printf("frame=%d x=%d y=%d score=%.4f ring=%d\n", frame, x, y, score,
                    static_cast<int>(MotionDetection::ShotScore(score)));
    }
    float TargetHeight() const override { return 6000.0F; }

    int frame = 0;
};

int fail(const QString& message, int status = exitBadInput) {
    std::fprintf(stderr, "vantorel-replay: %s\n", message.toLocal8Bit().constData());
    return status;
}

// The results printed so far are on their way, or the reason they are lost.
bool outputIntact(QString& why) {
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0)
        return true;
    why = QStringLiteral("cannot write the results: %1")
              .arg(QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    // Nothing is shown: the offscreen platform needs no window system,
    // whatever the caller's session names.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt would take arguments such as "-platform" or "-style" for itself.
    int qtArgc = 1;
    const QApplication app(qtArgc, argv);

    replay::ReplayOptions options;
    QString error;
    if (!replay::parseOptions(std::vector<QByteArray>(argv + 1, argv + argc), options, error))
        return fail(error);
    if (options.help) {
        std::fputs(qPrintable(replay::usageText()), stdout);
        return outputIntact(error) ? 0 : fail(error, exitOutputLost);
    }
    std::vector<QByteArray> files;
    if (!replay::listFrameFiles(options.paths, files, error))
        return fail(error);

    // The setters save at once; they must never touch the user's settings.
    const QTemporaryDir scratchStore;
    if (!scratchStore.isValid())
        return fail(QStringLiteral("cannot create a temporary folder for the settings"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratchStore.path()));
    MotionDetection::SetSampleEveryNthFrame(options.sampleEvery);
    MotionDetection::SetCompareEveryNthByte(options.compareEvery);
    MotionDetection::SetTolerance(options.tolerance);
    MotionDetection::SetMaxLaserBeam(options.maxBeam);

    replay::ReplayDriverSource source;
    int status = 0;
    {
        const platform::SeamGuard installed(platform::installCaptureDriverSource, &source);
        QWidget host; // owns the capture window; goes before the source
        const platform::CaptureHandle window = ConnectionFunctions::CreateCaptureWindow(
            "Replay", platform::WS_CHILD | platform::WS_VISIBLE, 0, 0, 160, 120, &host, 0);
        if (!ConnectionFunctions::ConnectToDriver(window, 0) || source.driver() == nullptr) {
            status = fail(QStringLiteral("cannot connect the capture window"));
        } else {
            PrintingTarget target;
            MotionDetection::SetHitTarget(&target);
            CallBackFunctions::RegisterFrameCallback(window, MotionDetection::FrameCallback);
            AVICAP::SetPreviewFrameRate(window, 30);
            AVICAP::SetPreview(window, true);
            // Every pushed frame is delivered, however fast they come; one
            // frame is held at a time.
            const platform::CaptureWindow::ImmediateDelivery immediate;
            std::vector<std::uint8_t> frame;
            for (std::size_t i = 0; i < files.size() && std::ferror(stdout) == 0; ++i) {
                if (!replay::readFrame(files[i], frame, error)) {
                    status = fail(error);
                    break;
                }
                target.frame = static_cast<int>(i);
                source.driver()->push(frame);
            }
            AVICAP::SetPreview(window, false);
            CallBackFunctions::ClearCallbacks(window);
            MotionDetection::SetHitTarget(nullptr);
        }
    }
    if (!outputIntact(error))
        return fail(error, exitOutputLost);
    return status;
}
