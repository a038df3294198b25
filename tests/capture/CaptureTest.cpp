// The capture library against a simulated camera: every operation on the
// window it names, callbacks, the driver list, the capture window, connecting
// it, and the questions about it, each asked afresh.

#include "capture/AVICAP.h"
#include "capture/CallBackFunctions.h"
#include "capture/ConnectionFunctions.h"
#include "capture/StatusFunctions.h"
#include "tests/testsupport/CaptureServiceFixture.h"

#include <cstring>
#include <numeric>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

using namespace platform;
using namespace ConnectionFunctions;
using namespace StatusFunctions;

namespace {

// Through the library's own calls.
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

// Each operation acts on the window it names, once, and answers false
// without one (the preview frame rate answers nothing).
TEST_F(CaptureTest, OperationsActOnTheirWindowAndFailWithoutOne) {
    using namespace AVICAP;
    std::string dialogs;
    camera.setFormatDialogAction([&](int, SimulatedCamera&) { dialogs += "format "; });
    camera.setSourceDialogAction([&](int, SimulatedCamera&) { dialogs += "source "; });
    const CaptureHandle handle = window();
    const CaptureWindow* const w = findCaptureWindow(handle);
    for (const CaptureHandle target : {CaptureHandle{0}, handle}) {
        SCOPED_TRACE(target);
        EXPECT_EQ(VideoFormatDialog(target), target != 0);
        EXPECT_EQ(VideoSourceDialog(target), target != 0);
        EXPECT_EQ(SetPreview(target, true), target != 0);
        EXPECT_EQ(SetPreviewRate(target, 50), target != 0);
        CallBackFunctions::RegisterFrameCallback(target, &routine);
    }
    EXPECT_EQ(std::tuple(dialogs, w->isPreviewing(), w->previewPeriod(), w->callback(0x405)),
              std::tuple("format source ", true, 50, reinterpret_cast<std::intptr_t>(&routine)));
    EXPECT_TRUE(SetPreview(handle, false));
    CallBackFunctions::ClearCallbacks(handle);
    EXPECT_EQ(std::tuple(w->isPreviewing(), w->callback(0x405)), std::tuple(false, 0));
    // The period is nearest, ties to even; a rate below 1 has none.
    const std::pair<int, int> rates[] = {{30, 33}, {16, 62}, {0, 62}, {-5, 62}};
    for (const auto& [framesPerSecond, period] : rates) {
        SetPreviewFrameRate(handle, framesPerSecond);
        EXPECT_EQ(w->previewPeriod(), period) << framesPerSecond;
    }
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
