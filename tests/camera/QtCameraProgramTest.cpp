// The program with the real-camera backend: no camera at all, and a camera
// that previews in the program's format at once, stops delivering, and comes
// back when the device is chosen again.

#include "SyntheticCamera.h"
#include "app/Vantorel.h"
#include "platform/CaptureService.h"
#include "platform/CaptureWindow.h"
#include "platform/ProgramEnd.h"
#include "platform/QtCameraSource.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ScratchHome.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// One synthetic camera at index 0; each connection opens a new feed, as
// opening the real device again does. Silence counts as lost after 30 ms.
class SyntheticCameraSource : public platform::CaptureDriverSource {
public:
    bool describe(int index, std::string& name, std::string& version) override {
        if (index != 0)
            return false;
        name = "Synthetic Camera";
        version = "test /dev/video0";
        return true;
    }
    std::unique_ptr<platform::CaptureDriver> open(int index) override {
        if (index != 0)
            return nullptr;
        auto feed = std::make_unique<cameratest::SyntheticFeed>();
        latest = feed.get();
        ++opened;
        auto driver = std::make_unique<platform::QtCameraDriver>(
            std::move(feed), std::make_shared<platform::QtCameraSettings>());
        driver->setSignalTimeout(30);
        return driver;
    }
    cameratest::SyntheticFeed* latest = nullptr;
    int opened = 0;
};

class CameraProgram : public ::testing::Test {
protected:
    CameraProgram() {
        QApplication::setQuitOnLastWindowClosed(false);
        platform::resetProgramEnded();
        platform::setEndHandler([this] { ++ends; });
    }
    ~CameraProgram() override {
        window.reset();
        platform::installCaptureDriverSource(nullptr);
        platform::setEndHandler({});
        platform::resetProgramEnded();
    }
    void start(platform::CaptureDriverSource& source) {
        platform::installCaptureDriverSource(&source);
        window = std::make_unique<app::Vantorel>();
        window->Form_Load();
    }
    platform::CaptureWindow* capture() const {
        return platform::findCaptureWindow(window->CaptureWnd());
    }
    void deliver(int grey) {
        const platform::CaptureWindow::ImmediateDelivery now;
        cameras.latest->deliver(cameratest::makeFrame(
            {QSize(640, 480), QVideoFrameFormat::Format_NV12},
            [=](int, int) { return QColor(grey, grey, grey); }, 0));
    }

    testsupport::ScratchHome home;
    testsupport::MessageRecorder messages;
    SyntheticCameraSource cameras;
    std::unique_ptr<app::Vantorel> window;
    int ends = 0;
};

} // namespace

TEST_F(CameraProgram, NoCameraSaysNoCaptureHardwareAndEnds) {
    platform::QtCameraSource none{QList<QCameraDevice>{}};
    start(none);
    EXPECT_TRUE(window->Ended());
    EXPECT_EQ(ends, 1);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().front().text, QStringLiteral("No Capture Hardware Detected"));
    EXPECT_EQ(messages.shown().front().title, QStringLiteral("Quillmere Vantorel v1.58"));
}

TEST_F(CameraProgram, PreviewsWithoutAQuestionShowsNoSignalWhenStoppedAndReconnects) {
    start(cameras);
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_TRUE(window->findChild<QAction*>(QStringLiteral("frt"))->isVisible());
    EXPECT_TRUE(window->findChild<QAction*>(QStringLiteral("src"))->isVisible());
    ASSERT_TRUE(capture() && capture()->isPreviewing());
    deliver(120);
    // The aiming cross is drawn into the frame before it is shown.
    const QImage shown = capture()->shownImage();
    ASSERT_EQ(shown.size(), QSize(160, 120));
    EXPECT_GT(qGray(shown.pixel(80, 60)), 200);
    EXPECT_NEAR(qGray(shown.pixel(5, 5)), 120, 3);

    deliver(200);
    ASSERT_TRUE(QTest::qWaitFor([&] { return capture()->signalLost(); }, 5000));
    EXPECT_EQ(capture()->deliveredFrames(), 1U); // the second frame came too soon
    const int dimmed = qGray(capture()->grab().toImage().pixel(5, 5)); // the last picture stays
    EXPECT_GT(dimmed, 20);
    EXPECT_LT(dimmed, 80);

    const auto first = cameras.latest->record;
    window->dev_Click(0); // choosing the device again
    EXPECT_TRUE(first->released);
    EXPECT_FALSE(capture()->signalLost());
    deliver(200);
    EXPECT_EQ(capture()->deliveredFrames(), 2U);
    cameras.latest->fail(); // unplugged: lost at once
    EXPECT_TRUE(capture()->signalLost());
}
