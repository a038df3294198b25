// The capture service: window handles, driver descriptions and the answers
// to the capture messages.

#include "tests/testsupport/CaptureServiceFixture.h"

#include <cstring>

using namespace platform;

TEST_F(CaptureService, HandlesAreDistinctNeverReusedAndNeedAParentAndASource) {
    const CaptureHandle hidden = createWindow(WS_CHILD);
    const CaptureHandle shown = createWindow();
    EXPECT_TRUE(hidden != 0 && shown != 0 && hidden != shown);
    EXPECT_TRUE(findCaptureWindow(hidden)->isHidden() && !findCaptureWindow(shown)->isHidden());
    delete findCaptureWindow(hidden);
    EXPECT_EQ(send(hidden, WM_CAP_DRIVER_CONNECT), 0);
    const CaptureHandle third = createWindow();
    EXPECT_TRUE(third != hidden && third != shown);
    EXPECT_EQ(capCreateCaptureWindow("", WS_CHILD, 0, 0, 160, 120, nullptr, 0), 0U);
    installCaptureDriverSource(nullptr);
    EXPECT_EQ(createWindow(), 0U);
}

// Nothing is answered or written without a window and a driver, and a
// record is copied no further than its declared size.
TEST_F(CaptureService, MessagesToNoWindowOrNoDriverAnswerZeroAndRecordsKeepTheirSize) {
    const CaptureHandle unconnected = createWindow();
    const CaptureHandle connected = connectedWindow();
    for (std::uint32_t message = WM_USER; message < WM_USER + 0x100; ++message) {
        CAPTUREPARMS record{};
        for (const CaptureHandle window : {unconnected, CaptureHandle{0}, CaptureHandle{0xDEAD}})
            EXPECT_EQ(send(window, message, sizeof record, &record), 0) << message;
        EXPECT_EQ(record.dwRequestMicroSecPerFrame, 0U) << message;
    }
    EXPECT_EQ(send(connected, WM_USER + 11), 0); // a disconnect is never offered
    EXPECT_EQ(send(connected, 0x0010), 0);
    std::uint8_t format[48];
    std::memset(format, 0xEE, sizeof format);
    EXPECT_EQ(send(connected, WM_CAP_GET_VIDEOFORMAT, 20, format), 20);
    EXPECT_TRUE(format[4] == 160 && format[20] == 0xEE); // biWidth's low byte, then untouched
    EXPECT_EQ(send(connected, WM_CAP_GET_VIDEOFORMAT, sizeof format, format), 40);
    EXPECT_EQ(format[40], 0xEE);
}

TEST_F(CaptureService, ConnectingStopsAndDropsTheOldDriver) {
    const CaptureHandle window = connectedWindow(0, false);
    ScriptedDriver* const first = scripted;
    send(window, WM_CAP_SET_PREVIEW, -1);
    EXPECT_TRUE(first->push());
    installCaptureDriverSource(this);
    ASSERT_NE(send(window, WM_CAP_DRIVER_CONNECT, 1), 0);
    EXPECT_EQ(live, 1);
    EXPECT_FALSE(findCaptureWindow(window)->isPreviewing());
    EXPECT_FALSE(scripted->push()); // the new one waits for the preview
}
