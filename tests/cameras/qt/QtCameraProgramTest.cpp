// The program with the real-camera backend: no camera at all, and a camera
// that previews at once, stops delivering, and comes back.

#include "app/Vantorel.h"
#include "cameras/qt/QtCameraSource.h"
#include "capture/service/CaptureService.h"
#include "capture/service/CaptureWindow.h"
#include "platform/ProgramEnd.h"
#include "platform/SeamGuard.h"
#include "tests/cameras/qt/SyntheticCamera.h"
#include "tests/testsupport/MessageRecorder.h"
#include "tests/testsupport/ScratchHome.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>

using cameratest::greyFrame;

namespace {

// The program on a camera source: its own synthetic camera at index 0, or
// another. Each connection opens a new feed, as opening the real device again
// does; silence counts as lost after 30 ms.
class CameraProgram : public ::testing::Test, public platform::CaptureDriverSource {
protected:
    CameraProgram() { QApplication::setQuitOnLastWindowClosed(false); }
    ~CameraProgram() override { window.reset(); }
    void start(platform::CaptureDriverSource& source) {
        installed.emplace(platform::installCaptureDriverSource, &source);
        window = std::make_unique<app::Vantorel>();
        window->Form_Load();
    }
    bool describe(int index, std::string& name, std::string& version) override {
        if (index == 0)
            std::tie(name, version) = std::pair("Synthetic Camera", "test /dev/video0");
        return index == 0;
    }
    std::unique_ptr<platform::CaptureDriver> open(int index) override {
        if (index != 0)
            return nullptr;
        cameratest::FedDriver camera;
        latest = camera.feed;
        camera.driver->setSignalTimeout(30);
        return std::move(camera.driver);
    }

    testsupport::ScratchHome home;
    testsupport::MessageRecorder messages;
    int ends = 0;
    const platform::SeamGuard<platform::EndHandler> ending{platform::setEndHandler,
                                                           [this] { ++ends; }};
    std::optional<platform::SeamGuard<platform::CaptureDriverSource*>> installed;
    std::unique_ptr<app::Vantorel> window;
    cameratest::SyntheticFeed* latest = nullptr;
};

} // namespace

TEST_F(CameraProgram, NoCameraSaysNoCaptureHardwareAndEnds) {
    platform::QtCameraSource none{QList<QCameraDevice>{}};
    std::string name = "unchanged", version; // no index answers, none opens
    for (int index = -1; index <= 10; ++index)
        EXPECT_FALSE(none.describe(index, name, version) || none.open(index)) << index;
    EXPECT_EQ(name, "unchanged");
    start(none);
    EXPECT_TRUE(window->Ended());
    EXPECT_EQ(ends, 1);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().front().text, QStringLiteral("No Capture Hardware Detected"));
    EXPECT_EQ(messages.shown().front().title, QStringLiteral("Quillmere Vantorel v1.58"));
}

TEST_F(CameraProgram, PreviewsWithoutAQuestionIsLostWhenStoppedAndComesBack) {
    start(*this);
    EXPECT_TRUE(messages.shown().isEmpty());
    for (const char* entry : {"frt", "src"}) // format and source dialogs offered
        EXPECT_TRUE(window->findChild<QAction*>(QLatin1String(entry))->isVisible()) << entry;
    auto* capture = platform::findCaptureWindow(window->CaptureWnd());
    ASSERT_TRUE(capture && capture->isPreviewing());
    const platform::CaptureWindow::ImmediateDelivery now; // the driver still limits the rate
    latest->deliver(greyFrame(120, 0));
    latest->deliver(greyFrame(200, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return capture->signalLost(); }, 5000));
    EXPECT_EQ(capture->deliveredFrames(), 1U); // the second frame came too soon
    const int dimmed = qGray(capture->grab().toImage().pixel(5, 5)); // the last picture stays
    EXPECT_GT(dimmed, 20);
    EXPECT_LT(dimmed, 80);
    latest->deliver(greyFrame(200, 1000000)); // pictures again: found and passed on
    EXPECT_FALSE(capture->signalLost());
    EXPECT_EQ(capture->deliveredFrames(), 2U);

    const auto first = latest->record;
    latest->fail(); // unplugged: lost at once, until the device is chosen again
    EXPECT_TRUE(capture->signalLost());
    window->dev_Click(0);
    EXPECT_TRUE(first->released);
    capture = platform::findCaptureWindow(window->CaptureWnd());
    EXPECT_FALSE(capture->signalLost());
    latest->deliver(greyFrame(200, 0));
    EXPECT_EQ(capture->deliveredFrames(), 3U);
}
