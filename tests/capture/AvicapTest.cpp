// Every capture operation sends exactly its one message and reads the answer.

#include "capture/AVICAP.h"
#include "CaptureFixture.h"
#include "platform/CaptureWindow.h"

#include <functional>
#include <string>

using namespace platform;

namespace {

std::int32_t noFrames(CaptureHandle, VIDEOHDR*) {
    return 0;
}

struct Operation {
    std::string name;
    std::uint32_t message;
    std::int32_t wParam;
    // Runs the operation; answers the raw answer or 1/0 for true/false.
    std::function<std::int32_t(CaptureHandle)> run;
};

std::int32_t truth(bool answer) {
    return answer ? 1 : 0;
}

CAPDRIVERCAPS caps;
CAPSTATUS status;
CAPTUREPARMS parms;
std::uint8_t formatBuffer[64];

std::vector<Operation> operations() {
    return {
        {"SetErrorCallback", 0x402, 0, [](auto w) { return truth(AVICAP::SetErrorCallback(w)); }},
        {"SetStatusCallback", 0x403, 0, [](auto w) { return truth(AVICAP::SetStatusCallback(w)); }},
        {"SetYieldCallback", 0x404, 0, [](auto w) { return truth(AVICAP::SetYieldCallback(w)); }},
        {"SetFrameCallback", 0x405, 0,
         [](auto w) { return truth(AVICAP::SetFrameCallback(w, &noFrames)); }},
        {"SetVideoStreamCallback", 0x406, 0,
         [](auto w) { return truth(AVICAP::SetVideoStreamCallback(w)); }},
        {"SetWaveStreamCallback", 0x407, 0,
         [](auto w) { return truth(AVICAP::SetWaveStreamCallback(w)); }},
        {"SetCapControlCallback", 0x455, 0,
         [](auto w) { return truth(AVICAP::SetCapControlCallback(w)); }},
        {"DriverConnect", 0x40A, 0, [](auto w) { return truth(AVICAP::DriverConnect(w, 0)); }},
        {"DriverGetCaps", 0x40E, 44,
         [](auto w) { return truth(AVICAP::DriverGetCaps(w, &caps, 44)); }},
        {"VideoFormatDialog", 0x429, 0, [](auto w) { return truth(AVICAP::VideoFormatDialog(w)); }},
        {"VideoSourceDialog", 0x42A, 0, [](auto w) { return truth(AVICAP::VideoSourceDialog(w)); }},
        {"GetVideoFormat", 0x42C, 64,
         [](auto w) { return AVICAP::GetVideoFormat(w, formatBuffer, 64); }},
        {"GetVideoFormatSize", 0x42C, 0, [](auto w) { return AVICAP::GetVideoFormatSize(w); }},
        {"SetPreview", 0x432, -1, [](auto w) { return truth(AVICAP::SetPreview(w, true)); }},
        {"SetPreviewRate", 0x434, 50, [](auto w) { return truth(AVICAP::SetPreviewRate(w, 50)); }},
        {"GetStatus", 0x436, 76, [](auto w) { return truth(AVICAP::GetStatus(w, &status, 76)); }},
        {"GetSequenceSetup", 0x441, 92,
         [](auto w) { return truth(AVICAP::GetSequenceSetup(w, &parms, 92)); }},
        {"SetSequenceSetup", 0x440, 92,
         [](auto w) { return truth(AVICAP::SetSequenceSetup(w, &parms, 92)); }},
    };
}

class AvicapOperation : public CaptureTest, public ::testing::WithParamInterface<Operation> {};

} // namespace

TEST_P(AvicapOperation, ToNoWindowAnswersFalseAndSendsItsOneMessage) {
    logMessages();
    EXPECT_EQ(GetParam().run(0), 0);
    ASSERT_EQ(sent.size(), 1U);
    EXPECT_EQ(sent[0].window, 0U);
    EXPECT_EQ(sent[0].message, GetParam().message);
    EXPECT_EQ(sent[0].wParam, GetParam().wParam);
}

TEST_P(AvicapOperation, ToAConnectedWindowAnswersNonzero) {
    camera.setFormatDialogAction([](int, SimulatedCamera&) {});
    camera.setSourceDialogAction([](int, SimulatedCamera&) {});
    const CaptureHandle window = connectedWindow();
    logMessages();
    EXPECT_NE(GetParam().run(window), 0);
    ASSERT_EQ(sent.size(), 1U);
    EXPECT_EQ(sent[0].window, window);
    EXPECT_EQ(sent[0].message, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(EveryOperation, AvicapOperation, ::testing::ValuesIn(operations()),
                         [](const auto& info) { return info.param.name; });

TEST_F(CaptureTest, HandleZeroChangesNothingInAnyWindow) {
    const CaptureHandle window = connectedWindow();
    AVICAP::SetPreview(0, true);
    AVICAP::SetPreviewRate(0, 5);
    AVICAP::SetFrameCallback(0, &noFrames);
    CaptureWindow* const widget = findCaptureWindow(window);
    EXPECT_FALSE(widget->isPreviewing());
    EXPECT_EQ(widget->previewPeriod(), 66);
    EXPECT_EQ(widget->callback(WM_CAP_SET_CALLBACK_FRAME), 0);
}

TEST_F(CaptureTest, PreviewIsSwitchedOnWithAllBitsSet) {
    const CaptureHandle window = connectedWindow();
    logMessages();
    AVICAP::SetPreview(window, true);
    AVICAP::SetPreview(window, false);
    ASSERT_EQ(sent.size(), 2U);
    EXPECT_EQ(sent[0].wParam, -1);
    EXPECT_EQ(sent[1].wParam, 0);
}

TEST_F(CaptureTest, FrameCallbackTravelsAsTheRoutineAddress) {
    const CaptureHandle window = connectedWindow();
    logMessages();
    AVICAP::SetFrameCallback(window, &noFrames);
    AVICAP::SetFrameCallback(window, nullptr);
    ASSERT_EQ(sent.size(), 2U);
    EXPECT_EQ(sent[0].lParam, reinterpret_cast<std::intptr_t>(&noFrames));
    EXPECT_EQ(sent[1].lParam, 0);
}

class PreviewFrameRate : public CaptureTest,
                         public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(PreviewFrameRate, PeriodIsTheNearestMillisecondTiesToEven) {
    const auto [framesPerSecond, periodMs] = GetParam();
    const CaptureHandle window = connectedWindow();
    logMessages();
    AVICAP::SetPreviewFrameRate(window, framesPerSecond);
    ASSERT_EQ(sent.size(), 1U);
    EXPECT_EQ(sent[0].message, WM_CAP_SET_PREVIEWRATE);
    EXPECT_EQ(sent[0].wParam, periodMs);
    EXPECT_EQ(findCaptureWindow(window)->previewPeriod(), periodMs);
}

INSTANTIATE_TEST_SUITE_P(Rates, PreviewFrameRate,
                         ::testing::Values(std::pair{30, 33}, std::pair{16, 62}, std::pair{80, 12},
                                           std::pair{1, 1000}, std::pair{3, 333},
                                           std::pair{400, 2}));

TEST_F(CaptureTest, PreviewFrameRateBelowOneSendsNothing) {
    const CaptureHandle window = connectedWindow();
    logMessages();
    AVICAP::SetPreviewFrameRate(window, 0);
    AVICAP::SetPreviewFrameRate(window, -5);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(findCaptureWindow(window)->previewPeriod(), 66);
}

TEST_F(CaptureTest, FormatSizeAnswersTheWholeFormat) {
    SimulatedDriverConfig config;
    config.extraFormatBytes = 12;
    camera.setDriver(0, config);
    const CaptureHandle window = connectedWindow();
    EXPECT_EQ(AVICAP::GetVideoFormatSize(window), 52);
    std::uint8_t buffer[52] = {};
    EXPECT_EQ(AVICAP::GetVideoFormat(window, buffer, 52), 52);
}
