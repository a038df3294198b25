// vantorel-replay: runs recorded frames through the capture window and the
// frame analysis, and prints every hit that reaches the target.

#include "capture/AVICAP.h"
#include "capture/CallBackFunctions.h"
#include "capture/ConnectionFunctions.h"
#include "capture/service/CaptureService.h"
#include "capture/service/CaptureWindow.h"
#include "detection/MotionDetection.h"
#include "platform/SeamGuard.h"
#include "tools/replay/ReplayDriver.h"
#include "tools/replay/ReplayOptions.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>
#include <cmath>
#include <cstdio>

namespace {

constexpr int exitBadInput = 2;

// Stands in for the main window: a 6000-twip target picture, and every hit
// printed with the index of the frame that made it.
class PrintingTarget : public MotionDetection::HitTarget {
public:
    void SetHole(std::int32_t x, std::int32_t y, double score) override {
        std::printf("frame=%d x=%d y=%d score=%.4f ring=%d\n", frame, x, y, score,
                    static_cast<int>(MotionDetection::ShotScore(score)));
    }
    float TargetHeight() const override { return 6000.0F; }

    int frame = 0;
};

int fail(const QString& message) {
    std::fprintf(stderr, "vantorel-replay: %s\n", qPrintable(message));
    return exitBadInput;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QApplication app(argc, argv);

    replay::ReplayOptions options;
    QString error;
    if (!replay::parseOptions(QApplication::arguments().mid(1), options, error))
        return fail(error);
    if (options.help) {
        std::fputs(qPrintable(replay::usageText()), stdout);
        return 0;
    }
    std::vector<std::vector<std::uint8_t>> frames;
    if (!replay::loadFrames(options.paths, frames, error))
        return fail(error);

    // The setters save at once; they must never touch the user's settings.
    const QTemporaryDir scratchStore;
    if (!scratchStore.isValid())
        return fail(QStringLiteral("cannot create a temporary folder for the settings"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, scratchStore.path());
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
            // Every pushed frame is delivered, however fast they come.
            const platform::CaptureWindow::ImmediateDelivery immediate;
            for (std::size_t i = 0; i < frames.size(); ++i) {
                target.frame = static_cast<int>(i);
                source.driver()->push(frames[i]);
            }
            AVICAP::SetPreview(window, false);
            CallBackFunctions::ClearCallbacks(window);
            MotionDetection::SetHitTarget(nullptr);
        }
    }
    std::fflush(stdout);
    return status;
}
