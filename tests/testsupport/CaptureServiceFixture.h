#pragma once
// A capture service with a simulated camera installed and a parent window,
// and a scripted driver whose frames the test pushes by hand.

#include "cameras/sim/SimulatedCamera.h"
#include "capture/service/CaptureService.h"
#include "capture/service/CaptureWindow.h"
#include "capture/service/FrameLayout.h"
#include "platform/SeamGuard.h"

#include <QWidget>
#include <gtest/gtest.h>

// Delivers a 160 x 120 x 24 frame whenever the test pushes one while
// streaming; counts the scripted drivers alive in `live`, and how often its
// format was asked for. It reports the format the test sets.
class ScriptedDriver : public capture::CaptureDriver {
public:
    explicit ScriptedDriver(int& live) : live_(++live) {}
    ~ScriptedDriver() override { --live_; }
    QByteArray videoFormat() const override {
        ++formatQueries;
        return format.videoFormat();
    }
    bool hasFormatDialog() const override { return false; }
    bool hasSourceDialog() const override { return false; }
    bool showFormatDialog(QWidget*) override { return false; }
    bool showSourceDialog(QWidget*) override { return false; }
    void setStreaming(bool on, int periodMs, FrameSink sink) override {
        sink_ = on ? std::move(sink) : FrameSink{};
        lastPeriod = periodMs;
    }
    bool push() {                     // false when not streaming
        const FrameSink sink = sink_; // the frame routine may stop the stream
        if (sink)
            sink(frame_);
        return static_cast<bool>(sink);
    }
    int lastPeriod = 0;
    capture::FrameLayout format;
    mutable int formatQueries = 0;

private:
    int& live_;
    FrameSink sink_;
    std::vector<std::uint8_t> frame_ = std::vector<std::uint8_t>(57600, 0x30);
};

// Also the source of the scripted drivers, for connectedWindow().
class CaptureService : public ::testing::Test, public capture::CaptureDriverSource {
protected:
    bool describe(int, std::string&, std::string&) override { return true; }
    std::unique_ptr<capture::CaptureDriver> open(int) override {
        auto driver = std::make_unique<ScriptedDriver>(live);
        scripted = driver.get();
        return driver;
    }

    capture::CaptureHandle createWindow(std::uint32_t style = capture::WS_CHILD |
                                                              capture::WS_VISIBLE) {
        return capture::capCreateCaptureWindow("", style, 30, 28, 160, 120, &parent, 0);
    }
    capture::CaptureAnswer send(capture::CaptureHandle window, std::uint32_t message,
                                std::int32_t wParam = 0, const void* record = nullptr) {
        return capture::SendCaptureMessage(window, message, wParam,
                                           reinterpret_cast<std::intptr_t>(record));
    }
    // Connected to the camera's driver, or else to a scripted one.
    capture::CaptureHandle connectedWindow(int index = 0, bool toCamera = true) {
        capture::installCaptureDriverSource(toCamera ? &camera
                                                     : static_cast<CaptureDriverSource*>(this));
        const capture::CaptureHandle window = createWindow();
        EXPECT_NE(send(window, capture::WM_CAP_DRIVER_CONNECT, index), 0);
        capture::installCaptureDriverSource(&camera);
        return window;
    }

    simcamera::SimulatedCamera camera;
    const platform::SeamGuard<capture::CaptureDriverSource*> installed{
        capture::installCaptureDriverSource, &camera};
    QWidget parent;
    ScriptedDriver* scripted = nullptr; // the one opened last
    int live = 0;
};
