#include "CaptureServiceFixture.h"

#include <cstring>

using namespace platform;

QByteArray ScriptedDriver::videoFormat() const {
    BITMAPINFOHEADER header{};
    header.biSize = 40;
    header.biWidth = 160;
    header.biHeight = 120;
    header.biPlanes = 1;
    header.biBitCount = 24;
    return QByteArray(reinterpret_cast<const char*>(&header), sizeof header);
}

void ScriptedDriver::setStreaming(bool on, int periodMs, FrameSink sink) {
    sink_ = on ? std::move(sink) : FrameSink{};
    lastPeriod = periodMs;
}

bool ScriptedDriver::push() {
    if (!sink_)
        return false;
    const FrameSink sink = sink_;
    sink(frame_);
    return true;
}

bool ScriptedSource::describe(int index, std::string& name, std::string& version) {
    name = "Scripted " + std::to_string(index);
    version = "1";
    return true;
}

std::unique_ptr<CaptureDriver> ScriptedSource::open(int /*index*/) {
    auto driver = std::make_unique<ScriptedDriver>(&live);
    last = driver.get();
    ++opened;
    return driver;
}

CaptureService::CaptureService() {
    camera.scene().noise = 0.0;
    installCaptureDriverSource(&camera);
}

CaptureService::~CaptureService() {
    setCaptureMessageObserver({});
    installCaptureDriverSource(nullptr);
}

CaptureHandle CaptureService::createWindow(std::uint32_t style) {
    return capCreateCaptureWindow("", style, 30, 28, 160, 120, &parent, 0);
}

CaptureHandle CaptureService::connectedWindow(int index) {
    const CaptureHandle window = createWindow();
    EXPECT_NE(SendCaptureMessage(window, WM_CAP_DRIVER_CONNECT, index, 0), 0);
    return window;
}

CaptureAnswer CaptureService::send(CaptureHandle window, std::uint32_t message, std::int32_t wParam,
                                   const void* record) {
    return SendCaptureMessage(window, message, wParam, reinterpret_cast<std::intptr_t>(record));
}

CaptureHandle CaptureService::scriptedWindow() {
    installCaptureDriverSource(&scripted);
    const CaptureHandle window = connectedWindow();
    installCaptureDriverSource(&camera);
    return window;
}
