// Driver descriptions, the driver list, creating the capture window and
// connecting it.

#include "capture/ConnectionFunctions.h"
#include "CaptureFixture.h"
#include "capture/StatusFunctions.h"
#include "platform/CaptureWindow.h"

#include <string>

using namespace platform;
using ConnectionFunctions::CaptureDevice;
using ConnectionFunctions::CaptureDeviceList;

namespace {

std::string text(const std::array<char, 100>& field) {
    return std::string(field.data());
}

bool allNul(const std::array<char, 100>& field) {
    return std::all_of(field.begin(), field.end(), [](char c) { return c == '\0'; });
}

SimulatedDriverConfig named(const std::string& name, const std::string& version) {
    SimulatedDriverConfig config;
    config.name = name;
    config.version = version;
    return config;
}

class DriverList : public CaptureTest {
protected:
    DriverList() { camera.setDriver(0, std::nullopt); }
};

} // namespace

TEST_F(DriverList, GapsAreKeptAndNotCounted) {
    camera.setDriver(0, named("First Camera", "1.0"));
    camera.setDriver(2, named("Third Camera", "3.1"));
    CaptureDeviceList list;
    EXPECT_EQ(ConnectionFunctions::ListCaptureDrivers(list), 2);
    EXPECT_EQ(list.Count, 2);
    EXPECT_EQ(text(list.Devices[0].Name), "First Camera");
    EXPECT_EQ(text(list.Devices[0].Version), "1.0");
    EXPECT_TRUE(allNul(list.Devices[1].Name));
    EXPECT_TRUE(allNul(list.Devices[1].Version));
    EXPECT_EQ(text(list.Devices[2].Name), "Third Camera");
    EXPECT_EQ(text(list.Devices[2].Version), "3.1");
    for (std::size_t i = 3; i < 10; ++i)
        EXPECT_TRUE(allNul(list.Devices[i].Name)) << i;
}

TEST_F(DriverList, OnlyIndexOneAnswering) {
    camera.setDriver(1, named("Second", "2"));
    CaptureDeviceList list;
    EXPECT_EQ(ConnectionFunctions::ListCaptureDrivers(list), 1);
    EXPECT_TRUE(allNul(list.Devices[0].Name));
    EXPECT_EQ(text(list.Devices[1].Name), "Second");
}

TEST_F(DriverList, AllTenAnswer) {
    for (int i = 0; i < 10; ++i)
        camera.setDriver(i, named("Camera " + std::to_string(i), "v" + std::to_string(i)));
    CaptureDeviceList list;
    EXPECT_EQ(ConnectionFunctions::ListCaptureDrivers(list), 10);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(text(list.Devices[i].Name), "Camera " + std::to_string(i));
        EXPECT_EQ(text(list.Devices[i].Version), "v" + std::to_string(i));
    }
}

TEST_F(DriverList, NoneAnswerWithoutASource) {
    installCaptureDriverSource(nullptr);
    camera.setDriver(0, named("Unseen", "1"));
    CaptureDeviceList list;
    EXPECT_EQ(ConnectionFunctions::ListCaptureDrivers(list), 0);
    EXPECT_TRUE(allNul(list.Devices[0].Name));
}

TEST_F(DriverList, CountStartsAgainOnEveryListing) {
    camera.setDriver(4, named("Only", "1"));
    CaptureDeviceList list;
    list.Count = 9;
    EXPECT_EQ(ConnectionFunctions::ListCaptureDrivers(list), 1);
    EXPECT_EQ(ConnectionFunctions::ListCaptureDrivers(list), 1);
}

TEST_F(DriverList, DescriptionKeepsTheRestOfEachField) {
    camera.setDriver(0, named("Cam", "V2"));
    CaptureDevice entry;
    entry.Name.fill('x');
    entry.Version.fill('y');
    EXPECT_TRUE(ConnectionFunctions::ReadDriverDescription(0, entry));
    EXPECT_EQ(text(entry.Name), "Cam");
    EXPECT_EQ(entry.Name[3], '\0');
    EXPECT_EQ(entry.Name[4], 'x');
    EXPECT_EQ(entry.Name[99], 'x');
    EXPECT_EQ(text(entry.Version), "V2");
    EXPECT_EQ(entry.Version[3], 'y');
}

TEST_F(DriverList, SilentIndexLeavesTheEntryAsItWas) {
    CaptureDevice entry;
    entry.Name.fill('x');
    EXPECT_FALSE(ConnectionFunctions::ReadDriverDescription(5, entry));
    EXPECT_EQ(entry.Name[0], 'x');
    EXPECT_TRUE(allNul(entry.Version));
}

TEST_F(DriverList, LongNameIsCutToNinetyNineCharactersAndATerminator) {
    camera.setDriver(0, named(std::string(150, 'N'), "1"));
    CaptureDevice entry;
    EXPECT_TRUE(ConnectionFunctions::ReadDriverDescription(0, entry));
    EXPECT_EQ(text(entry.Name).size(), 99U);
}

TEST_F(CaptureTest, CaptureWindowIsAVisibleChildAtItsPixelRectangle) {
    const CaptureHandle window = createWindow();
    ASSERT_NE(window, 0U);
    CaptureWindow* const widget = findCaptureWindow(window);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget(), &parent);
    EXPECT_EQ(widget->geometry(), QRect(30, 28, 160, 120));
    EXPECT_FALSE(widget->isHidden());
    EXPECT_TRUE(widget->windowTitle().isEmpty());
}

TEST_F(CaptureTest, CaptureWindowNeedsAParent) {
    EXPECT_EQ(ConnectionFunctions::CreateCaptureWindow("", WS_CHILD | WS_VISIBLE, 0, 0, 160, 120,
                                                       nullptr, 0),
              0U);
}

TEST_F(CaptureTest, ConnectingAnswersWhetherTheDriverOpened) {
    SimulatedDriverConfig refusing;
    refusing.connectable = false;
    camera.setDriver(1, refusing);
    const CaptureHandle window = createWindow();
    EXPECT_FALSE(ConnectionFunctions::ConnectToDriver(0, 0));
    EXPECT_TRUE(ConnectionFunctions::ConnectToDriver(window, 0));
    EXPECT_FALSE(ConnectionFunctions::ConnectToDriver(window, 1)); // refuses
    EXPECT_FALSE(ConnectionFunctions::ConnectToDriver(window, 2)); // silent
    EXPECT_FALSE(ConnectionFunctions::ConnectToDriver(window, 10));
    EXPECT_FALSE(ConnectionFunctions::ConnectToDriver(window, -1));
}

TEST_F(CaptureTest, ConnectingNarrowsTheIndexToSixteenBits) {
    const CaptureHandle window = createWindow();
    logMessages();
    EXPECT_TRUE(ConnectionFunctions::ConnectToDriver(window, 65536));
    ASSERT_EQ(sent.size(), 1U);
    EXPECT_EQ(sent[0].wParam, 0);
}

TEST_F(CaptureTest, SwitchingDriversReplacesTheFormat) {
    SimulatedDriverConfig second;
    second.width = 320;
    second.height = -240;
    second.bitCount = 32;
    camera.setDriver(1, second);
    const CaptureHandle window = connectedWindow(0);
    EXPECT_EQ(StatusFunctions::GetFormatWidth(window), 160);
    ASSERT_TRUE(ConnectionFunctions::ConnectToDriver(window, 1));
    EXPECT_EQ(StatusFunctions::GetDeviceIndex(window), 1U);
    EXPECT_EQ(StatusFunctions::GetFormatWidth(window), 320);
    EXPECT_EQ(StatusFunctions::GetFormatHeight(window), -240);
    EXPECT_EQ(StatusFunctions::GetFormatBitCount(window), 32);
}

TEST_F(CaptureTest, FailedSwitchLeavesNoDriverConnected) {
    const CaptureHandle window = connectedWindow(0);
    EXPECT_FALSE(ConnectionFunctions::ConnectToDriver(window, 7));
    EXPECT_EQ(StatusFunctions::GetFormatWidth(window), 0);
}
