// Questions about the capture window, each asked afresh.

#include "capture/StatusFunctions.h"
#include "CaptureFixture.h"
#include "capture/ConnectionFunctions.h"

#include <cstring>

using namespace platform;

namespace {

struct FormatCase {
    std::int32_t width;
    std::int32_t height;
    std::int16_t bitCount;
};

class FormatQueries : public CaptureTest, public ::testing::WithParamInterface<FormatCase> {};

} // namespace

TEST_P(FormatQueries, ReportTheDriversFormatAndImageSize) {
    const FormatCase format = GetParam();
    SimulatedDriverConfig config;
    config.width = format.width;
    config.height = format.height;
    config.bitCount = format.bitCount;
    camera.setDriver(0, config);
    const CaptureHandle window = connectedWindow();
    EXPECT_EQ(StatusFunctions::GetFormatWidth(window), format.width);
    EXPECT_EQ(StatusFunctions::GetFormatHeight(window), format.height);
    EXPECT_EQ(StatusFunctions::GetFormatBitCount(window), format.bitCount);
    EXPECT_EQ(StatusFunctions::GetImageWidth(window), static_cast<std::uint32_t>(format.width));
    EXPECT_EQ(StatusFunctions::GetImageHeight(window),
              static_cast<std::uint32_t>(std::abs(format.height)));
}

INSTANTIATE_TEST_SUITE_P(Formats, FormatQueries,
                         ::testing::Values(FormatCase{160, 120, 24}, FormatCase{160, -120, 24},
                                           FormatCase{160, 120, 32}, FormatCase{320, 240, 24},
                                           FormatCase{640, -480, 32}));

TEST_F(CaptureTest, CapabilitiesNameTheConnectedIndexAndDialogs) {
    SimulatedDriverConfig plain;
    plain.hasFormatDialog = false;
    plain.hasSourceDialog = false;
    camera.setDriver(3, plain);
    const CaptureHandle window = connectedWindow();
    EXPECT_EQ(StatusFunctions::GetDeviceIndex(window), 0U);
    EXPECT_TRUE(StatusFunctions::HasVideoFormatDialog(window));
    EXPECT_TRUE(StatusFunctions::HasVideoSourceDialog(window));
    ASSERT_TRUE(ConnectionFunctions::ConnectToDriver(window, 3));
    EXPECT_EQ(StatusFunctions::GetDeviceIndex(window), 3U);
    EXPECT_FALSE(StatusFunctions::HasVideoFormatDialog(window));
    EXPECT_FALSE(StatusFunctions::HasVideoSourceDialog(window));
}

TEST_F(CaptureTest, QueriesWithoutADriverGiveZeroAndFalse) {
    for (const CaptureHandle window : {CaptureHandle{0}, createWindow()}) {
        EXPECT_EQ(StatusFunctions::GetDeviceIndex(window), 0U);
        EXPECT_FALSE(StatusFunctions::HasVideoFormatDialog(window));
        EXPECT_FALSE(StatusFunctions::HasVideoSourceDialog(window));
        EXPECT_EQ(StatusFunctions::GetImageWidth(window), 0U);
        EXPECT_EQ(StatusFunctions::GetImageHeight(window), 0U);
        EXPECT_EQ(StatusFunctions::GetFormatSize(window), 0);
        EXPECT_EQ(StatusFunctions::GetFormatWidth(window), 0);
        EXPECT_EQ(StatusFunctions::GetFormatHeight(window), 0);
        EXPECT_EQ(StatusFunctions::GetFormatBitCount(window), 0);
        std::vector<std::uint8_t> format;
        EXPECT_FALSE(StatusFunctions::ReadVideoFormat(window, format));
        EXPECT_EQ(format, std::vector<std::uint8_t>(44, 0));
        CAPTUREPARMS parms{};
        EXPECT_FALSE(StatusFunctions::ReadCaptureParms(window, parms));
        EXPECT_EQ(parms.dwRequestMicroSecPerFrame, 0U);
    }
}

TEST_F(CaptureTest, LargeFormatIsReadWhole) {
    SimulatedDriverConfig config;
    config.extraFormatBytes = 1024; // a colour table, say
    camera.setDriver(0, config);
    const CaptureHandle window = connectedWindow();
    EXPECT_EQ(StatusFunctions::GetFormatSize(window), 1064);
    std::vector<std::uint8_t> format;
    ASSERT_TRUE(StatusFunctions::ReadVideoFormat(window, format));
    ASSERT_EQ(format.size(), 1064U);
    EXPECT_EQ(format[40], 0xA0);
    EXPECT_EQ(format[1063], 0xA0 + 1023 % 16);
    EXPECT_EQ(StatusFunctions::GetFormatWidth(window), 160);
    EXPECT_EQ(StatusFunctions::GetFormatBitCount(window), 24);
}

TEST_F(CaptureTest, SmallFormatStillGetsRoomForFortyFourBytes) {
    const CaptureHandle window = connectedWindow();
    logMessages();
    std::vector<std::uint8_t> format(7, 0xEE);
    ASSERT_TRUE(StatusFunctions::ReadVideoFormat(window, format));
    ASSERT_EQ(format.size(), 44U);
    EXPECT_EQ(format[40], 0); // past the 40-byte format: zero
    ASSERT_EQ(sent.size(), 2U);
    EXPECT_EQ(sent[0].wParam, 0);  // the size question
    EXPECT_EQ(sent[1].wParam, 44); // the buffer as it is
}

TEST_F(CaptureTest, YieldFlagIsSetAndEverythingElseKept) {
    const CaptureHandle window = connectedWindow();
    CAPTUREPARMS before{};
    ASSERT_TRUE(StatusFunctions::ReadCaptureParms(window, before));
    EXPECT_EQ(before.dwRequestMicroSecPerFrame, 66667U);
    before.wPercentDropForError = 42;
    before.fDisableWriteCache = 7;
    ASSERT_TRUE(StatusFunctions::WriteCaptureParms(window, before));

    logMessages();
    StatusFunctions::SetCaptureYield(window, -1);
    ASSERT_EQ(sent.size(), 2U);
    EXPECT_EQ(sent[0].message, WM_CAP_GET_SEQUENCE_SETUP);
    EXPECT_EQ(sent[1].message, WM_CAP_SET_SEQUENCE_SETUP);
    EXPECT_EQ(sent[1].wParam, 92);

    CAPTUREPARMS after{};
    ASSERT_TRUE(StatusFunctions::ReadCaptureParms(window, after));
    EXPECT_EQ(after.fYield, -1);
    after.fYield = before.fYield;
    EXPECT_EQ(std::memcmp(&after, &before, sizeof after), 0);
}

TEST_F(CaptureTest, ImageSizeIsAskedAfreshEveryTime) {
    const CaptureHandle window = connectedWindow();
    EXPECT_EQ(StatusFunctions::GetImageWidth(window), 160U);
    camera.setFormat(0, 320, 240, 24);
    EXPECT_EQ(StatusFunctions::GetImageWidth(window), 320U);
    EXPECT_EQ(StatusFunctions::GetFormatHeight(window), 240);
}
