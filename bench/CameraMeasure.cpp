// vantorel-camera-measure: what the real camera path costs, on the fake
// camera (cameras/fake) playing the replay tool's sample.
//  - the CPU share of one core that vantorel takes previewing 640 x 480 YUY2
//    frames at 30 a second, with the standard and with the enhanced
//    detection, beside vantorel-sim's, all over the same 10 s; then the two
//    modes again on a 1280 x 720 camera;
//  - the time from a frame's arrival in the video sink to the SetHole call
//    of the hit it shows, median and 99th percentile, over 20 s.

#include "cameras/fake/FakeCameras.h"
#include "cameras/qt/QtCameraDriver.h"
#include "cameras/qt/QtCameraFeed.h"
#include "capture/AVICAP.h"
#include "capture/CallBackFunctions.h"
#include "capture/service/HeadlessCaptureWindow.h"
#include "detection/MotionDetection.h"

#include <QApplication>
#include <QCamera>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QVideoSink>
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

QElapsedTimer clock_;

// Seconds of CPU the process has used so far.
double cpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    // utime and stime: the 12th and 13th fields after the command's ")".
    const QStringList fields = QString::fromLatin1(stat.readAll())
                                   .section(QLatin1Char(')'), 1)
                                   .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return static_cast<double>(fields.value(11).toLongLong() + fields.value(12).toLongLong()) /
           static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The environment of a program whose settings (in a folder of its own)
// switch the enhanced detection on or off.
QProcessEnvironment withDetection(QProcessEnvironment environment, const QString& home,
                                  bool enhanced) {
    QDir().mkpath(home + QStringLiteral("/Vantorel"));
    QFile ini(home + QStringLiteral("/Vantorel/Vantorel.ini"));
    if (ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
        ini.write(enhanced ? "[Settings]\nEnhancedDetection= 1\n" : "[Settings]\n");
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home);
    return environment;
}

struct Program {
    QString label;
    QString path;
    QProcessEnvironment environment;
};

void measureCpu(const std::vector<Program>& programs) {
    std::vector<std::unique_ptr<QProcess>> running;
    for (const Program& program : programs) {
        auto& process = running.emplace_back(std::make_unique<QProcess>());
        process->setProcessEnvironment(program.environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(program.path, {});
        process->waitForStarted();
    }
    QTest::qWait(3000); // start-up done, preview running
    std::vector<double> before;
    before.reserve(running.size());
    for (const auto& process : running)
        before.push_back(cpuSeconds(process->processId()));
    constexpr int Seconds = 10;
    QTest::qWait(Seconds * 1000);
    for (std::size_t i = 0; i < running.size(); ++i) {
        const double share = (cpuSeconds(running[i]->processId()) - before[i]) / Seconds;
        std::printf("%-34s %5.1f %% of one core\n", qPrintable(programs[i].label), share * 100);
        running[i]->kill();
        running[i]->waitForFinished();
    }
}

// A camera as QtCameraDevice opens it (the sink first), stamping each frame's
// arrival in the sink.
class StampedCamera : public qtcamera::QtCameraFeed {
public:
    explicit StampedCamera(const QCameraDevice& device) : camera_(device) {
        session_.setVideoSink(&sink_);
        connect(
            &sink_, &QVideoSink::videoFrameChanged, this,
            [this](const QVideoFrame& frame) {
                const qint64 at = clock_.nsecsElapsed();
                const auto pass = [this, frame, at] {
                    arrival = at;
                    emit frameArrived(frame);
                };
                if (QThread::currentThread() == thread())
                    pass();
                else
                    QMetaObject::invokeMethod(this, pass, Qt::QueuedConnection);
            },
            Qt::DirectConnection);
    }
    void start() override { session_.setCamera(&camera_); }
    std::vector<qtcamera::CameraMode> modes() const override { return {}; }
    void useMode(int) override {}
    qtcamera::CameraControls controls() const override { return {}; }
    void setControl(qtcamera::CameraControl::Kind, int) override {}
    void release() override { session_.setCamera(nullptr); }

    qint64 arrival = 0;

private:
    QMediaCaptureSession session_;
    QVideoSink sink_;
    QCamera camera_;
};

class StampedSource : public capture::CaptureDriverSource {
public:
    bool describe(int index, std::string& name, std::string& version) override {
        name = "Fake Camera";
        version = "measured";
        return index == 0;
    }
    std::unique_ptr<capture::CaptureDriver> open(int index) override {
        if (index != 0 || QMediaDevices::videoInputs().isEmpty())
            return nullptr;
        auto camera = std::make_unique<StampedCamera>(QMediaDevices::videoInputs().front());
        feed = camera.get();
        return std::make_unique<qtcamera::QtCameraDriver>(std::move(camera), settings);
    }
    StampedCamera* feed = nullptr;
    std::shared_ptr<qtcamera::QtCameraSettings> settings =
        std::make_shared<qtcamera::QtCameraSettings>();
};

class LatencyTarget : public MotionDetection::HitTarget {
public:
    void SetHole(std::int32_t, std::int32_t, double) override {
        if (source && source->feed)
            latenciesUs.push_back(
                static_cast<double>(clock_.nsecsElapsed() - source->feed->arrival) / 1000);
    }
    float TargetHeight() const override { return 6000.0F; }
    StampedSource* source = nullptr;
    std::vector<double> latenciesUs;
};

void measureLatency() {
    StampedSource source;
    LatencyTarget target;
    target.source = &source;
    {
        const capture::HeadlessCaptureWindow headless(source);
        const capture::CaptureHandle window = headless.handle();
        if (!headless.connected()) {
            std::fprintf(stderr, "vantorel-camera-measure: no fake camera\n");
        } else {
            // The defaults; the setters save to the scratch settings.
            MotionDetection::SetSampleEveryNthFrame(
                MotionDetection::SampleEveryNthFrameRange.defaultValue);
            MotionDetection::SetCompareEveryNthByte(
                MotionDetection::CompareEveryNthByteRange.defaultValue);
            MotionDetection::SetTolerance(MotionDetection::ToleranceRange.defaultValue);
            MotionDetection::SetMaxLaserBeam(MotionDetection::MaxLaserBeamRange.defaultValue);
            MotionDetection::setHitTarget(&target);
            CallBackFunctions::RegisterFrameCallback(window, MotionDetection::FrameCallback);
            AVICAP::SetPreviewFrameRate(window, 30);
            AVICAP::SetPreview(window, true);
            QTest::qWait(20000);
            AVICAP::SetPreview(window, false);
            CallBackFunctions::ClearCallbacks(window);
            MotionDetection::setHitTarget(nullptr);
        }
    }
    auto& l = target.latenciesUs;
    if (l.empty())
        return;
    std::sort(l.begin(), l.end());
    std::printf(
        "frame arrival in the sink to SetHole, %zu hits: median %.0f us, 99th percentile %.0f us\n",
        l.size(), l[l.size() / 2], l[std::min(l.size() - 1, l.size() * 99 / 100)]);
}

} // namespace

int main(int argc, char** argv) {
    clock_.start();
    const QTemporaryDir home; // the programs' settings and fonts, never the user's
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
        qputenv(name, home.path().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QApplication app(argc, argv);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path());
    // Set up before Qt Multimedia's first look, for this process and the programs.
    if (!fakecamera::plugCameras({{"Fake Camera", "YUY2 640x480", VANTOREL_SAMPLE_DIR}})) {
        std::fprintf(stderr, "vantorel-camera-measure: the fake camera is not listed\n");
        return 1;
    }
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString program = QStringLiteral(VANTOREL_PROGRAM);
    const auto modes = [&](const QString& size) {
        return std::vector<Program>{
            {QStringLiteral("vantorel, standard, ") + size, program,
             withDetection(environment, home.filePath(QStringLiteral("standard")), false)},
            {QStringLiteral("vantorel, enhanced, ") + size, program,
             withDetection(environment, home.filePath(QStringLiteral("enhanced")), true)}};
    };
    std::vector<Program> small = modes(QStringLiteral("640 x 480"));
    small.push_back(
        {QStringLiteral("vantorel-sim"), QStringLiteral(VANTOREL_SIM_PROGRAM), environment});
    measureCpu(small);
    measureLatency();
    if (fakecamera::plugCameras({{"Fake Camera", "YUY2 1280x720", VANTOREL_SAMPLE_DIR}}))
        measureCpu(modes(QStringLiteral("1280 x 720")));
    return 0;
}
