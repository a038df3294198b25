// The capture library against a simulated camera: every operation sends its
// one message, callbacks, the driver list, the capture window, connecting it,
// and the questions about it, each asked afresh.

#include "capture/AVICAP.h"
#include "capture/CallBackFunctions.h"
#include "capture/ConnectionFunctions.h"
#include "capture/StatusFunctions.h"
#include "tests/testsupport/CaptureServiceFixture.h"

#include <cstring>
#include <functional>
#include <numeric>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

using namespace platform;
using namespace ConnectionFunctions;
using namespace StatusFunctions;

namespace {

// Window, message number, wParam and lParam of one message sent.
using SentMessage = std::tuple<CaptureHandle, std::uint32_t, std::int32_t, std::intptr_t>;

// Through the library's own calls, with every message sent kept.
class CaptureTest : public CaptureService {
protected:
    // A capture window at (30, 28), 160 x 120, in the parent, connected to the
    // driver at the index unless that is -1.
    CaptureHandle window(int index = 0) {
        const CaptureHandle handle = ConnectionFunctions::CreateCaptureWindow(
            "", WS_CHILD | WS_VISIBLE, 30, 28, 160, 120, &parent, 0);
        EXPECT_TRUE(index < 0 || ConnectionFunctions::ConnectToDriver(handle, index));
        return handle;
    }

    std::vector<SentMessage> sent;
    const SeamGuard<CaptureMessageObserver> observed{
        setCaptureMessageObserver, [this](auto... message) { sent.emplace_back(message...); }};
};

std::int32_t routine(CaptureHandle, VIDEOHDR*) {
    return 0;
}

// The count, then "name/version" for each index that answered, "-" for the others.
std::string listed(const CaptureDeviceList& list) {
    std::string out = std::to_string(list.Count) + ": ";
    for (std::size_t i = 0; i < list.Devices.size(); ++i) {
        const auto& [name, version] = list.Devices[i];
        out += list.Answered[i] ? std::string(name.data()) + "/" + version.data() + " " : "- ";
    }
    return out;
}

// Everything the queries say about a window, in one line; "read" gives the
// format read into a 7-byte buffer: success, its size and the sum of its bytes
// past the 40-byte header.
std::string described(CaptureHandle window) {
    std::vector<std::uint8_t> format(7, 0xEE);
    const bool read = ReadVideoFormat(window, format);
    std::ostringstream out;
    out << "index " << GetDeviceIndex(window) << " dialogs " << HasVideoFormatDialog(window)
        << HasVideoSourceDialog(window) << " format " << GetFormatWidth(window) << "x"
        << GetFormatHeight(window) << "x" << GetFormatBitCount(window) << " image "
        << GetImageWidth(window) << "x" << GetImageHeight(window) << " size "
        << GetFormatSize(window) << " read " << read << " " << format.size() << " "
        << std::accumulate(format.begin() + 40, format.end(), 0);
    return out.str();
}

} // namespace

// The operations that the queries below don't already answer for.
TEST_F(CaptureTest, EveryOperationSendsItsOneMessageAndFailsOnlyWithoutAWindow) {
    using namespace AVICAP;
    // Message number, wParam, and the operation: true when it answers nonzero.
    // The preview frame rate answers nothing; its period is nearest, ties to even.
    // (The six callbacks other than the frame's are only ever switched off,
    // all together: their messages are those of ClearCallbacks below.)
    const std::tuple<std::uint32_t, std::int32_t, std::function<bool(CaptureHandle)>> rows[] = {
        {0x405, 0, [](auto w) { return SetFrameCallback(w, &routine); }},
        {0x429, 0, [](auto w) { return VideoFormatDialog(w); }},
        {0x42A, 0, [](auto w) { return VideoSourceDialog(w); }},
        {0x432, -1, [](auto w) { return SetPreview(w, true); }},
        {0x432, 0, [](auto w) { return SetPreview(w, false); }},
        {0x434, 50, [](auto w) { return SetPreviewRate(w, 50); }},
        {0x434, 33, [](auto w) { return SetPreviewFrameRate(w, 30), w != 0; }},
        {0x434, 62, [](auto w) { return SetPreviewFrameRate(w, 16), w != 0; }},
    };
    camera.setFormatDialogAction([](int, SimulatedCamera&) {});
    camera.setSourceDialogAction([](int, SimulatedCamera&) {});
    const CaptureHandle connected = window();
    const CaptureHandle untouched = window(); // sees nothing of what goes to handle 0
    for (const CaptureHandle target : {CaptureHandle{0}, connected}) {
        for (const auto& [message, wParam, run] : rows) {
            SCOPED_TRACE(testing::Message() << message << ", " << wParam << " to " << target);
            sent.clear();
            EXPECT_EQ(run(target), target != 0);
            ASSERT_EQ(sent.size(), 1U);
            EXPECT_EQ(sent[0], SentMessage(target, message, wParam, std::get<3>(sent[0])));
        }
    }
    const CaptureWindow* const w = findCaptureWindow(untouched);
    EXPECT_EQ(std::tuple(w->isPreviewing(), w->previewPeriod(), w->callback(0x405)),
              std::tuple(false, 66, 0));
    sent.clear();
    SetPreviewFrameRate(connected, 0); // no period for a rate below 1
    SetPreviewFrameRate(connected, -5);
    EXPECT_TRUE(sent.empty());
}

TEST_F(CaptureTest, RegisteredRoutineStaysUntilEveryCallbackIsCleared) {
    const CaptureHandle handle = window();
    CallBackFunctions::RegisterFrameCallback(handle, &routine);
    const CaptureWindow* const w = findCaptureWindow(handle);
    EXPECT_EQ(w->callback(0x405), reinterpret_cast<std::intptr_t>(&routine));
    sent.clear();
    CallBackFunctions::ClearCallbacks(handle);
    std::vector<SentMessage> expected; // error, status, yield, frame, video, wave, control: all off
    for (const std::uint32_t message : {0x402, 0x403, 0x404, 0x405, 0x406, 0x407, 0x455})
        expected.emplace_back(handle, message, 0, 0);
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(w->callback(0x405), 0);
}

TEST_F(CaptureTest, DriverListKeepsGapsAndCountsOnlyTheDriversThatAnswer) {
    const std::pair<std::vector<int>, std::string> rows[] = {
        {{}, "0: - - - - - - - - - - "},
        {{0, 2}, "2: C0/v - C2/v - - - - - - - "},
        {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, "10: C0/v C1/v C2/v C3/v C4/v C5/v C6/v C7/v C8/v C9/v "}};
    for (const auto& [answering, expected] : rows) {
        for (int i = 0; i < DriverIndexes; ++i)
            camera.setDriver(i, std::nullopt);
        for (const int i : answering)
            camera.setDriver(
                i, SimulatedDriverConfig{.name = "C" + std::to_string(i), .version = "v"});
        CaptureDeviceList list;
        list.Count = 9; // the count starts again on every listing
        EXPECT_EQ(ListCaptureDrivers(list), static_cast<std::int32_t>(answering.size()));
        EXPECT_EQ(listed(list), expected);
    }
    camera.setDriver(1, SimulatedDriverConfig{.name = std::string(150, 'N')});
    CaptureDevice entry;
    entry.Name.fill('x');
    EXPECT_FALSE(ReadDriverDescription(10, entry));
    EXPECT_TRUE(ReadDriverDescription(1, entry)); // cut to its field, terminated
    EXPECT_EQ(std::string(entry.Name.data(), 100), std::string(99, 'N') + '\0');
}

TEST_F(CaptureTest, QueriesFollowTheConnectedDriverAndAreAskedAfresh) {
    SimulatedDriverConfig plain{.width = 640, .height = -480, .bitCount = 32};
    plain.hasFormatDialog = plain.hasSourceDialog = false;
    plain.extraFormatBytes = 1024; // a colour table: 64 x (160 + ... + 175) = 171520
    camera.setDriver(3, plain);
    const std::string none = "index 0 dialogs 00 format 0x0x0 image 0x0 size 0 read 0 44 0";
    const CaptureHandle handle = window(-1);
    EXPECT_EQ(described(0), none);
    EXPECT_EQ(described(handle), none);
    ASSERT_TRUE(ConnectToDriver(handle, 3));
    EXPECT_EQ(described(handle),
              "index 3 dialogs 00 format 640x-480x32 image 640x480 size 1064 read 1 1064 171520");
    ASSERT_TRUE(ConnectToDriver(handle, 0));
    EXPECT_EQ(described(handle),
              "index 0 dialogs 11 format 160x120x24 image 160x120 size 40 read 1 44 0");
    camera.setFormat(0, 320, -240, 24);
    EXPECT_EQ(described(handle), "index 0 dialogs 11 format 320x-240x24 image 320x240 size 40 "
                                 "read 1 44 0");
    CAPTUREPARMS expected{};
    CAPTUREPARMS after{};
    ASSERT_TRUE(ReadCaptureParms(handle, expected));
    SetCaptureYield(handle, -1); // sets the flag and keeps everything else
    expected.fYield = -1;
    ASSERT_TRUE(ReadCaptureParms(handle, after));
    EXPECT_EQ(std::memcmp(&after, &expected, sizeof after), 0);
    EXPECT_FALSE(ConnectToDriver(handle, 7)); // a failed switch leaves no driver
    EXPECT_EQ(described(handle), none);
}
