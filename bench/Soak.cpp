// vantorel-soak [frames]: the real main window on the simulated camera, as
// fast as it goes, for a million frames unless told otherwise: a shot every
// 50 frames, a new series after every tenth shot, the detection parameters
// changed through the settings dialog every 10,000 frames. Checks the series
// after every shot, and that resident memory grows by less than 1 MiB after
// the first 10,000 frames (not under AddressSanitizer, whose quarantine
// holds freed memory on purpose); prints the frames per second. Exits 1 on
// the first fault. Leaks are for LeakSanitizer (the asan preset) at exit.

#include "app/Vantorel.h"
#include "bench/Sanitizers.h"
#include "cameras/sim/SimulatedCamera.h"
#include "capture/service/CaptureService.h"
#include "detection/MotionDetection.h"
#include "platform/SeamGuard.h"
#include "settings/SettingsFrm.h"
#include "tests/fixtures/MessageRecorder.h"
#include "tests/fixtures/ScratchHome.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSlider>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <unistd.h>

namespace {

constexpr long FramesPerShot = 50;
constexpr long FramesPerParameterChange = 10'000;
constexpr long SteadyAfter = 10'000;
constexpr long AllowedGrowth = 1L << 20;

// Parameter sets (N, S, T, M) under which a 3-frame pulse is always seen.
constexpr std::array<std::array<int, 4>, 4> ParameterSets{
    {{1, 5, 50, 20}, {2, 4, 40, 30}, {3, 5, 45, 25}, {1, 6, 35, 15}}};

long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

[[noreturn]] void fault(long frame, const char* what) {
    std::fprintf(stderr, "vantorel-soak: frame %ld: %s\n", frame, what);
    std::exit(1);
}

class Soak {
public:
    explicit Soak(long frames) : frames_(frames) {}
    Soak(const Soak&) = delete;
    Soak& operator=(const Soak&) = delete;

    int run() {
        window_.Form_Load();
        if (window_.Ended())
            fault(0, "the program ended at start-up");
        window_.show();
        QElapsedTimer clock;
        clock.start();
        long steadyBytes = 0;
        for (long frame = 0; frame < frames_; ++frame) {
            if (frame % FramesPerParameterChange == 0)
                changeParameters(frame);
            if (frame % FramesPerShot == 0)
                shoot(frame);
            else if (frame % FramesPerShot == 10)
                checkShot(frame);
            camera_.deliverNextFrame();
            // Paints, timers, deferred deletes; not while a pulse lasts, as the
            // camera's own frame timer would take pulse frames the window drops.
            if (frame % 8 == 0 && frame % FramesPerShot >= 10)
                QCoreApplication::processEvents();
            if (frame + 1 == SteadyAfter)
                steadyBytes = residentBytes();
        }
        const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        const long growth = steadyBytes > 0 ? residentBytes() - steadyBytes : 0;
        std::printf("%ld frames in %.1f s: %.0f frames per second\n", frames_, seconds,
                    static_cast<double>(frames_) / seconds);
        std::printf("%ld shots, %ld series, %ld parameter changes\n", shots_, series_, changes_);
        std::printf("resident memory %.1f MiB; growth after frame %ld: %ld bytes\n",
                    static_cast<double>(residentBytes()) / 1048576.0, SteadyAfter, growth);
        if (steadyBytes > 0 && !fixtures::underAddressSanitizer() && growth >= AllowedGrowth)
            fault(frames_, "resident memory grew by 1 MiB or more");
        return 0;
    }

private:
    // Through the settings dialog, as a user would: each slider moved.
    void changeParameters(long frame) {
        const auto& set =
            ParameterSets[static_cast<std::size_t>(changes_++) % ParameterSets.size()];
        window_.stt_Click();
        SettingsFrm* settings = window_.SettingsForm();
        for (int i = 0; i < SettingsFrm::SliderCount; ++i)
            settings->Slider1(i)->setValue(set[static_cast<std::size_t>(i)]);
        settings->Command1_Click();
        if (MotionDetection::GetSampleEveryNthFrame() != set[0] ||
            MotionDetection::GetCompareEveryNthByte() != set[1] ||
            MotionDetection::GetTolerance() != set[2] ||
            MotionDetection::GetMaxLaserBeam() != set[3])
            fault(frame, "the sliders did not set the parameters");
    }

    // New Game at the start and after ten shots; the pause ended as the
    // re-arm timer would end it.
    void shoot(long frame) {
        if (frame == 0 || window_.ShotCount() == app::Vantorel::Markers) {
            window_.Command1_Click();
            ++series_;
            seriesTotal_ = 0;
            if (window_.ShotCount() != 0 || !window_.ScoreCardText().isEmpty() ||
                window_.ReadyToShoot() != 0)
                fault(frame, "New Game did not start a fresh series");
        }
        if (window_.Timer1Interval() != 0)
            window_.Timer1_Timer();
        if (window_.ReadyToShoot() == 0)
            fault(frame, "not ready to shoot after the pause");
        // Anywhere 10 to 50 pixels from the centre of the 160 x 120 picture:
        // nearer, the aiming cross (never compared) hides too much of the dot.
        const double angle = std::uniform_real_distribution<double>(0.0, 6.283185307)(random_);
        distance_ = std::uniform_real_distribution<double>(10.0, 50.0)(random_);
        camera_.firePulse(QPointF((80.0 + distance_ * std::cos(angle)) / 160.0,
                                  (60.0 + distance_ * std::sin(angle)) / 120.0),
                          3);
        shotsBefore_ = window_.ShotCount();
    }

    // The shot's line on the card ("Shot n Result Is s") with a score that
    // fits its distance (10 at the centre, 0 at half the picture's height; a
    // cell either way), the pause, and after the tenth the summary
    // ("Summary t From 100") with the sum of the ten.
    void checkShot(long frame) {
        ++shots_;
        const int shots = window_.ShotCount();
        if (shots != shotsBefore_ + 1)
            fault(frame, "the shot was not recorded exactly once");
        if (window_.ReadyToShoot() != 0 || window_.Timer1Interval() != 1500)
            fault(frame, "no pause after the shot");
        const QStringList lines = window_.ScoreCardText().split(QStringLiteral("\r\n"));
        const bool last = shots == app::Vantorel::Markers;
        if (lines.size() != shots + (last ? 2 : 1) ||
            !lines[shots - 1].startsWith(QStringLiteral("Shot %1 Result Is ").arg(shots, 2)))
            fault(frame, "the score card does not hold the series");
        const int score = lines[shots - 1].section(u' ', -1).toInt();
        seriesTotal_ += score;
        const double raw = 10.0 * (1.0 - distance_ / 60.0);
        const int expected = std::min(10, static_cast<int>(std::floor(raw)) + 1);
        if (std::abs(score - expected) > 1 + static_cast<int>(distance_ > 40.0))
            fault(frame, "the score does not fit the distance from the centre");
        if (last && lines[shots] != QStringLiteral("Summary %1 From 100").arg(seriesTotal_, 3))
            fault(frame, "the summary is not the sum of the series");
    }

    long frames_;
    fixtures::ScratchHome home_;
    fixtures::MessageRecorder messages_; // a message box would stop the run
    simcamera::SimulatedCamera camera_;
    const platform::SeamGuard<capture::CaptureDriverSource*> installed_{
        capture::installCaptureDriverSource, &camera_};
    app::Vantorel window_; // goes before the camera's guard

    std::mt19937 random_{1};
    double distance_ = 0.0;
    int shotsBefore_ = 0;
    int seriesTotal_ = 0;
    long shots_ = 0;
    long series_ = 0;
    long changes_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantorel"));
    const long frames = argc > 1 ? std::atol(argv[1]) : 1'000'000;
    if (frames <= 0) {
        std::fprintf(stderr, "usage: vantorel-soak [frames]\n");
        return 2;
    }
    return Soak(frames).run();
}
