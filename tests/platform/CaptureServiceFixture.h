#pragma once
// A capture service with a simulated camera installed, a parent window, and a
// scripted driver whose frames the test pushes by hand.

#include "platform/CaptureService.h"
#include "platform/CaptureWindow.h"
#include "platform/SimulatedCamera.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

// A driver that delivers exactly the frames a test pushes.
class ScriptedDriver : public platform::CaptureDriver {
public:
    explicit ScriptedDriver(int* live) : live_(live) { ++*live_; }
    ~ScriptedDriver() override { --*live_; }
    QByteArray videoFormat() const override;
    bool hasFormatDialog() const override { return false; }
    bool hasSourceDialog() const override { return false; }
    bool showFormatDialog(QWidget*) override { return false; }
    bool showSourceDialog(QWidget*) override { return false; }
    void setStreaming(bool on, int periodMs, FrameSink sink) override;

    bool push(); // hands one 160 x 120 x 24 frame to the sink; false when not streaming
    int lastPeriod = 0;

private:
    int* live_;
    FrameSink sink_;
    std::vector<std::uint8_t> frame_ = std::vector<std::uint8_t>(57600, 0x30);
};

class ScriptedSource : public platform::CaptureDriverSource {
public:
    bool describe(int index, std::string& name, std::string& version) override;
    std::unique_ptr<platform::CaptureDriver> open(int index) override;

    ScriptedDriver* last = nullptr; // the driver opened last
    int live = 0;                   // drivers alive
    int opened = 0;                 // drivers opened so far
};

class CaptureService : public ::testing::Test {
protected:
    CaptureService();
    ~CaptureService() override;

    platform::CaptureHandle createWindow(std::uint32_t style = platform::WS_CHILD |
                                                               platform::WS_VISIBLE);
    platform::CaptureHandle connectedWindow(int index = 0);
    platform::CaptureAnswer send(platform::CaptureHandle window, std::uint32_t message,
                                 std::int32_t wParam = 0, const void* record = nullptr);
    // Connects to the scripted source instead of the camera.
    platform::CaptureHandle scriptedWindow();

    platform::SimulatedCamera camera;
    ScriptedSource scripted;
    QWidget parent;
};
