#pragma once
// The program on the fake GStreamer cameras: Qt Multimedia's camera source,
// device and driver in place of the simulated camera, with the real main
// window offscreen.

#include "cameras/fake/FakeCameras.h"
#include "cameras/qt/QtCameraSource.h"
#include "tests/app/AppFixture.h"

#include <QImage>
#include <optional>

namespace cameratest {

using fakecamera::FakeCamera;
using fakecamera::listedCameras;
using fakecamera::plugCameras;

class FakeCameraProgram : public apptest::AppFixture {
protected:
    ~FakeCameraProgram() override { stop(); }
    // Plugs in the cameras, then starts the program afresh as its main does.
    void start(const QList<FakeCamera>& cameras) {
        ASSERT_TRUE(plugCameras(cameras)) << listedCameras().join(", ").toStdString();
        stop();
        source = std::make_unique<qtcamera::QtCameraSource>();
        installed.emplace(capture::installCaptureDriverSource, source.get());
        window_ = std::make_unique<app::Vantorel>();
        window_->Form_Load();
    }
    // Ends the program as the user does (its sounds stop), then drops it.
    void stop() {
        if (window_ && !window_->Ended())
            window_->ExitProgram();
        window_.reset();
        installed.reset();
        source.reset();
    }
    // Frames the capture window delivered over the time, from its next one.
    std::uint32_t framesOver(int ms) {
        const std::uint32_t before = capture()->deliveredFrames();
        if (!QTest::qWaitFor([&] { return capture()->deliveredFrames() > before; }, 5000))
            return 0;
        const std::uint32_t first = capture()->deliveredFrames();
        QTest::qWait(ms);
        return capture()->deliveredFrames() - first;
    }
    // The grey level shown near the right edge, where the grey ramp is light.
    int shownLevel() {
        const QImage shown = capture()->grab().toImage();
        return qGray(shown.pixel(shown.width() - 5, 5));
    }

    std::optional<platform::SeamGuard<capture::CaptureDriverSource*>> installed;
    std::unique_ptr<qtcamera::QtCameraSource> source;
};

} // namespace cameratest
