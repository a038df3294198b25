// The capture service: window handles, driver descriptions and the answers
// to the capture messages.

#include "CaptureServiceFixture.h"

#include <cstring>
#include <memory>

using namespace platform;

TEST_F(CaptureService, HandlesAreDistinctAndNeverReused) {
    const CaptureHandle first = createWindow();
    const CaptureHandle second = createWindow();
    EXPECT_NE(first, 0U);
    EXPECT_NE(second, 0U);
    EXPECT_NE(first, second);
    delete findCaptureWindow(first);
    EXPECT_EQ(findCaptureWindow(first), nullptr);
    const CaptureHandle third = createWindow();
    EXPECT_NE(third, first);
    EXPECT_NE(third, second);
}

TEST_F(CaptureService, ClosedWindowAnswersNothing) {
    const CaptureHandle window = connectedWindow();
    delete findCaptureWindow(window);
    EXPECT_EQ(send(window, WM_CAP_GET_VIDEOFORMAT), 0);
    EXPECT_EQ(send(window, WM_CAP_DRIVER_CONNECT, 0), 0);
}

TEST_F(CaptureService, WindowCreationNeedsAParentAndASource) {
    EXPECT_EQ(capCreateCaptureWindow("", WS_CHILD, 0, 0, 160, 120, nullptr, 0), 0U);
    installCaptureDriverSource(nullptr);
    EXPECT_EQ(createWindow(), 0U);
}

TEST_F(CaptureService, StyleDecidesWhetherTheWindowShows) {
    const CaptureHandle hidden = createWindow(WS_CHILD);
    EXPECT_TRUE(findCaptureWindow(hidden)->isHidden());
    const CaptureHandle shown = createWindow(WS_CHILD | WS_VISIBLE);
    EXPECT_FALSE(findCaptureWindow(shown)->isHidden());
}

TEST_F(CaptureService, DescriptionsAreCutToTheBuffer) {
    char name[8];
    char version[4];
    std::memset(name, 'x', sizeof name);
    std::memset(version, 'x', sizeof version);
    EXPECT_NE(capGetDriverDescription(0, name, sizeof name, version, sizeof version), 0);
    EXPECT_STREQ(name, "Simulat");
    EXPECT_STREQ(version, "Ver");
}

TEST_F(CaptureService, DescriptionOfASilentIndexWritesNothing) {
    char name[8] = "keep";
    EXPECT_EQ(capGetDriverDescription(1, name, sizeof name, nullptr, 0), 0);
    EXPECT_EQ(capGetDriverDescription(-1, name, sizeof name, nullptr, 0), 0);
    EXPECT_EQ(capGetDriverDescription(10, name, sizeof name, nullptr, 0), 0);
    EXPECT_STREQ(name, "keep");
}

TEST_F(CaptureService, ZeroLengthBuffersAreLeftAlone) {
    char name = 'x';
    EXPECT_NE(capGetDriverDescription(0, &name, 0, nullptr, 0), 0);
    EXPECT_EQ(name, 'x');
}

class UnconnectedWindow : public CaptureService,
                          public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(UnconnectedWindow, AnswersZero) {
    CAPTUREPARMS record{};
    const CaptureHandle window = createWindow();
    EXPECT_EQ(send(window, GetParam(), sizeof record, &record), 0);
    EXPECT_EQ(send(0, GetParam(), sizeof record, &record), 0);
    EXPECT_EQ(send(0xDEAD, GetParam(), sizeof record, &record), 0);
    EXPECT_EQ(record.dwRequestMicroSecPerFrame, 0U);
}

INSTANTIATE_TEST_SUITE_P(
    EveryMessage, UnconnectedWindow,
    ::testing::Values(WM_CAP_SET_CALLBACK_ERRORA, WM_CAP_SET_CALLBACK_STATUSA,
                      WM_CAP_SET_CALLBACK_YIELD, WM_CAP_SET_CALLBACK_FRAME,
                      WM_CAP_SET_CALLBACK_VIDEOSTREAM, WM_CAP_SET_CALLBACK_WAVESTREAM,
                      WM_CAP_SET_CALLBACK_CAPCONTROL, WM_CAP_DRIVER_GET_CAPS,
                      WM_CAP_DLG_VIDEOFORMAT, WM_CAP_DLG_VIDEOSOURCE, WM_CAP_GET_VIDEOFORMAT,
                      WM_CAP_SET_PREVIEW, WM_CAP_SET_PREVIEWRATE, WM_CAP_GET_STATUS,
                      WM_CAP_SET_SEQUENCE_SETUP, WM_CAP_GET_SEQUENCE_SETUP, WM_USER + 11));

TEST_F(CaptureService, UnknownMessageToAConnectedWindowAnswersZero) {
    const CaptureHandle window = connectedWindow();
    EXPECT_EQ(send(window, WM_USER + 11), 0); // a disconnect is never offered
    EXPECT_EQ(send(window, 0x0010), 0);
}

TEST_F(CaptureService, FormatSizeThenAsMuchAsTheCallerHasRoomFor) {
    const CaptureHandle window = connectedWindow();
    EXPECT_EQ(send(window, WM_CAP_GET_VIDEOFORMAT), 40);
    std::uint8_t buffer[48];
    std::memset(buffer, 0xEE, sizeof buffer);
    EXPECT_EQ(send(window, WM_CAP_GET_VIDEOFORMAT, 20, buffer), 20);
    EXPECT_EQ(buffer[4], 160); // biWidth, low byte
    EXPECT_EQ(buffer[20], 0xEE);
    EXPECT_EQ(send(window, WM_CAP_GET_VIDEOFORMAT, sizeof buffer, buffer), 40);
    BITMAPINFOHEADER header{};
    std::memcpy(&header, buffer, sizeof header);
    EXPECT_EQ(header.biSize, 40U);
    EXPECT_EQ(header.biHeight, 120);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biSizeImage, 57600U);
    EXPECT_EQ(buffer[40], 0xEE);
}

TEST_F(CaptureService, RecordsAreCopiedNoFurtherThanTheDeclaredSize) {
    const CaptureHandle window = connectedWindow();
    CAPSTATUS status{};
    status.uiImageHeight = 7;
    EXPECT_NE(send(window, WM_CAP_GET_STATUS, 4, &status), 0);
    EXPECT_EQ(status.uiImageWidth, 160U);
    EXPECT_EQ(status.uiImageHeight, 7U);
    EXPECT_EQ(send(window, WM_CAP_GET_STATUS, 0, &status), 0);
    EXPECT_EQ(send(window, WM_CAP_GET_STATUS, 76, nullptr), 0);
}

TEST_F(CaptureService, CapabilitiesAndStatusOfTheConnectedDriver) {
    SimulatedDriverConfig config;
    config.hasSourceDialog = false;
    config.height = -120;
    camera.setDriver(4, config);
    const CaptureHandle window = connectedWindow(4);
    CAPDRIVERCAPS caps{};
    EXPECT_NE(send(window, WM_CAP_DRIVER_GET_CAPS, sizeof caps, &caps), 0);
    EXPECT_EQ(caps.wDeviceIndex, 4U);
    EXPECT_EQ(caps.fHasDlgVideoSource, 0);
    EXPECT_NE(caps.fHasDlgVideoFormat, 0);
    CAPSTATUS status{};
    EXPECT_NE(send(window, WM_CAP_GET_STATUS, sizeof status, &status), 0);
    EXPECT_EQ(status.uiImageWidth, 160U);
    EXPECT_EQ(status.uiImageHeight, 120U);
}

TEST_F(CaptureService, CaptureParametersAreKeptWhole) {
    const CaptureHandle window = connectedWindow();
    CAPTUREPARMS parms{};
    EXPECT_NE(send(window, WM_CAP_GET_SEQUENCE_SETUP, sizeof parms, &parms), 0);
    EXPECT_EQ(parms.dwRequestMicroSecPerFrame, 66667U);
    EXPECT_EQ(parms.wPercentDropForError, 10U);
    std::uint8_t bytes[sizeof parms];
    for (std::size_t i = 0; i < sizeof bytes; ++i)
        bytes[i] = static_cast<std::uint8_t>(i);
    EXPECT_NE(send(window, WM_CAP_SET_SEQUENCE_SETUP, sizeof bytes, bytes), 0);
    std::uint8_t back[sizeof parms] = {};
    EXPECT_NE(send(window, WM_CAP_GET_SEQUENCE_SETUP, sizeof back, back), 0);
    EXPECT_EQ(std::memcmp(bytes, back, sizeof bytes), 0);
}

TEST_F(CaptureService, DialogsAnswerWhetherTheDriverHasThem) {
    int formatShown = 0;
    int sourceShown = 0;
    camera.setFormatDialogAction([&](int, SimulatedCamera&) { ++formatShown; });
    camera.setSourceDialogAction([&](int, SimulatedCamera&) { ++sourceShown; });
    SimulatedDriverConfig plain;
    plain.hasFormatDialog = false;
    plain.hasSourceDialog = false;
    camera.setDriver(1, plain);
    const CaptureHandle window = connectedWindow(0);
    EXPECT_NE(send(window, WM_CAP_DLG_VIDEOFORMAT), 0);
    EXPECT_NE(send(window, WM_CAP_DLG_VIDEOSOURCE), 0);
    EXPECT_EQ(formatShown, 1);
    EXPECT_EQ(sourceShown, 1);
    ASSERT_NE(send(window, WM_CAP_DRIVER_CONNECT, 1), 0);
    EXPECT_EQ(send(window, WM_CAP_DLG_VIDEOFORMAT), 0);
    EXPECT_EQ(send(window, WM_CAP_DLG_VIDEOSOURCE), 0);
    EXPECT_EQ(formatShown, 1);
    EXPECT_EQ(sourceShown, 1);
}

TEST_F(CaptureService, ConnectingStopsAndDropsTheOldDriver) {
    const CaptureHandle window = scriptedWindow();
    ScriptedDriver* const first = scripted.last;
    send(window, WM_CAP_SET_PREVIEW, -1);
    EXPECT_TRUE(first->push());
    installCaptureDriverSource(&scripted);
    ASSERT_NE(send(window, WM_CAP_DRIVER_CONNECT, 1), 0);
    EXPECT_EQ(scripted.live, 1);
    EXPECT_EQ(scripted.opened, 2);
    EXPECT_FALSE(findCaptureWindow(window)->isPreviewing());
    EXPECT_FALSE(scripted.last->push()); // the new one waits for the preview
}
