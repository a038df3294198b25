#pragma once
// The program on the fake GStreamer cameras: Qt Multimedia's camera source,
// device and driver, with the real main window offscreen.

#include "app/Vantorel.h"
#include "cameras/fake/FakeCameras.h"
#include "cameras/qt/QtCameraSource.h"
#include "capture/service/CaptureService.h"
#include "capture/service/CaptureWindow.h"
#include "platform/ProgramEnd.h"
#include "platform/SeamGuard.h"
#include "tests/testsupport/MessageRecorder.h"
#include "tests/testsupport/ScratchHome.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace cameratest {

using fakecamera::FakeCamera;
using fakecamera::listedCameras;
using fakecamera::plugCameras;

class FakeCameraProgram : public ::testing::Test {
protected:
    FakeCameraProgram() { QApplication::setQuitOnLastWindowClosed(false); }
    ~FakeCameraProgram() override { stop(); }
    // Plugs in the cameras, then starts the program afresh as its main does.
    void start(const QList<FakeCamera>& cameras) {
        ASSERT_TRUE(plugCameras(cameras)) << listedCameras().join(", ").toStdString();
        stop();
        source = std::make_unique<platform::QtCameraSource>();
        installed.emplace(platform::installCaptureDriverSource, source.get());
        window = std::make_unique<app::Vantorel>();
        window->Form_Load();
    }
    // Ends the program as the user does (its sounds stop), then drops it.
    void stop() {
        if (window && !window->Ended())
            window->ExitProgram();
        window.reset();
        installed.reset();
        source.reset();
    }
    platform::CaptureWindow& capture() {
        return *platform::CaptureWindow::find(window->CaptureWnd());
    }
    QAction& entry(int index) {
        return *window->findChild<QAction*>(QStringLiteral("dev_%1").arg(index));
    }
    // Frames the capture window delivered over the time, from its next one.
    std::uint32_t framesOver(int ms) {
        const std::uint32_t before = capture().deliveredFrames();
        if (!QTest::qWaitFor([&] { return capture().deliveredFrames() > before; }, 5000))
            return 0;
        const std::uint32_t first = capture().deliveredFrames();
        QTest::qWait(ms);
        return capture().deliveredFrames() - first;
    }
    // The grey level shown near the right edge, where the grey ramp is light.
    int shownLevel() {
        const QImage shown = capture().grab().toImage();
        return qGray(shown.pixel(shown.width() - 5, 5));
    }

    testsupport::ScratchHome home;
    testsupport::MessageRecorder messages;
    const platform::SeamGuard<platform::EndHandler> ending{platform::setEndHandler, [] {}};
    std::optional<platform::SeamGuard<platform::CaptureDriverSource*>> installed;
    std::unique_ptr<platform::QtCameraSource> source;
    std::unique_ptr<app::Vantorel> window;
};

} // namespace cameratest
