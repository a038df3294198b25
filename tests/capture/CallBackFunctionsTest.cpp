// Registering the frame routine and switching every callback off.

#include "capture/CallBackFunctions.h"
#include "CaptureFixture.h"
#include "capture/AVICAP.h"
#include "platform/CaptureWindow.h"

using namespace platform;

namespace {

int framesSeen = 0;
std::int32_t countFrames(CaptureHandle, VIDEOHDR*) {
    ++framesSeen;
    return 0;
}

class CallBacks : public CaptureTest {
protected:
    CallBacks() { framesSeen = 0; }
};

} // namespace

TEST_F(CallBacks, RegisteredRoutineReceivesEveryPreviewedFrame) {
    const CaptureHandle window = connectedWindow();
    logMessages();
    CallBackFunctions::RegisterFrameCallback(window, &countFrames);
    ASSERT_EQ(sent.size(), 1U);
    EXPECT_EQ(sent[0].message, WM_CAP_SET_CALLBACK_FRAME);
    EXPECT_EQ(sent[0].lParam, reinterpret_cast<std::intptr_t>(&countFrames));
    AVICAP::SetPreview(window, true);
    camera.deliverNextFrame();
    camera.deliverNextFrame();
    EXPECT_EQ(framesSeen, 2);
}

TEST_F(CallBacks, ClearingSwitchesAllSevenOffInOrder) {
    const CaptureHandle window = connectedWindow();
    logMessages();
    CallBackFunctions::ClearCallbacks(window);
    const std::vector<std::uint32_t> expected{0x402, 0x403, 0x404, 0x405, 0x406, 0x407, 0x455};
    ASSERT_EQ(sent.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(sent[i].message, expected[i]) << "message " << i;
        EXPECT_EQ(sent[i].window, window);
        EXPECT_EQ(sent[i].wParam, 0);
        EXPECT_EQ(sent[i].lParam, 0);
    }
}

TEST_F(CallBacks, AfterClearingFramesStillShowButReachNoRoutine) {
    const CaptureHandle window = connectedWindow();
    CallBackFunctions::RegisterFrameCallback(window, &countFrames);
    AVICAP::SetPreview(window, true);
    CallBackFunctions::ClearCallbacks(window);
    camera.deliverNextFrame();
    EXPECT_EQ(framesSeen, 0);
    EXPECT_EQ(findCaptureWindow(window)->callback(WM_CAP_SET_CALLBACK_FRAME), 0);
    EXPECT_FALSE(findCaptureWindow(window)->shownImage().isNull());
}

TEST_F(CallBacks, ClearingWithoutAWindowSendsTheSevenHarmlessly) {
    const CaptureHandle window = connectedWindow();
    CallBackFunctions::RegisterFrameCallback(window, &countFrames);
    AVICAP::SetPreview(window, true);
    logMessages();
    CallBackFunctions::ClearCallbacks(0);
    EXPECT_EQ(sent.size(), 7U);
    camera.deliverNextFrame();
    EXPECT_EQ(framesSeen, 1);
}
