#include "CaptureFixture.h"

#include "capture/ConnectionFunctions.h"

CaptureTest::CaptureTest() {
    camera.scene().noise = 0.0;
    platform::installCaptureDriverSource(&camera);
}

CaptureTest::~CaptureTest() {
    platform::setCaptureMessageObserver({});
    platform::installCaptureDriverSource(nullptr);
}

platform::CaptureHandle CaptureTest::createWindow() {
    return ConnectionFunctions::CreateCaptureWindow("", platform::WS_CHILD | platform::WS_VISIBLE,
                                                    30, 28, 160, 120, &parent, 0);
}

platform::CaptureHandle CaptureTest::connectedWindow(int index) {
    const platform::CaptureHandle window = createWindow();
    EXPECT_TRUE(ConnectionFunctions::ConnectToDriver(window, index));
    return window;
}

void CaptureTest::logMessages() {
    sent.clear();
    platform::setCaptureMessageObserver([this](platform::CaptureHandle window,
                                               std::uint32_t message, std::int32_t wParam,
                                               std::intptr_t lParam) {
        sent.push_back({window, message, wParam, lParam});
    });
}
