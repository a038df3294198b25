#include "tests/app/AppFixture.h"

#include "detection/Testing.h"
#include "platform/CaptureService.h"
#include "platform/ProgramEnd.h"
#include "platform/ResourceReader.h"
#include "platform/Shell.h"
#include "platform/SoundOutput.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>

namespace apptest {

void AppFixture::SetUp() {
    QApplication::setQuitOnLastWindowClosed(false);
    platform::resetProgramEnded();
    platform::setEndHandler([this] { ++endCount_; });
    platform::setOpenHandler([this](const QString& target, bool /*isFile*/) {
        opened_.push_back(target);
        return true;
    });
    // Effects are known by their clips, WAVE 100 to 103.
    std::vector<QByteArray> clips;
    for (int k = 0; k < 4; ++k)
        clips.push_back(platform::LoadResData(100 + k, QStringLiteral("WAVE")));
    platform::SoundOutput::setPlayObserver([this, clips](const QByteArray& image) {
        const auto found = std::find(clips.begin(), clips.end(), image);
        effects_.push_back(found == clips.end() ? -1 : static_cast<int>(found - clips.begin()));
    });
    MotionDetection::ResetFrameStateForTesting();
    platform::installCaptureDriverSource(&camera_);
    window_ = std::make_unique<app::Vantorel>();
}

void AppFixture::TearDown() {
    window_.reset();
    platform::installCaptureDriverSource(nullptr);
    platform::SoundOutput::setPlayObserver({});
    platform::SoundOutput::instance().stop();
    platform::setOpenHandler({});
    platform::setEndHandler({});
    platform::resetProgramEnded();
}

void AppFixture::start() {
    window_->Form_Load();
    if (!window_->Ended())
        window_->show();
}

QAction* AppFixture::action(const QString& name) const {
    return window_->findChild<QAction*>(name);
}

platform::CaptureWindow* AppFixture::capture() const {
    return platform::findCaptureWindow(window_->CaptureWnd());
}

void AppFixture::clickNewGame() {
    QTest::mouseClick(window_->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
}

void AppFixture::openSeries() {
    clickNewGame();
    endPause();
}

void AppFixture::endPause() {
    ASSERT_EQ(window_->Timer1Interval(), 1500);
    window_->Timer1_Timer();
}

void AppFixture::deliverFrames(int count) {
    for (int i = 0; i < count; ++i)
        camera_.deliverNextFrame();
}

void AppFixture::fireAtCells(double dx, double dy) {
    // Grid point (column, row) of the analysis is pixel (5 column, 5 row) of
    // the bottom-up frame; the centre (16, 12) is pixel column 80 of memory
    // row 60, which is row 59 of the picture seen top-down. A dot of radius 4
    // on the middle of a grid cell covers its four corner points; on the
    // centre, one of radius 7.5 covers the four diagonal neighbours (those
    // on the aiming cross never change).
    const bool centre = dx == 0.0 && dy == 0.0;
    camera_.scene().dotRadius = centre ? 7.5 : 4.0;
    deliverFrames(2); // a settled picture to compare with
    camera_.firePulse(QPointF((80.5 + 5.0 * dx) / 160.0, (59.5 - 5.0 * dy) / 120.0), 3);
    deliverFrames(4);
}

platform::SimulatedDriverConfig Driver(const std::string& name) {
    platform::SimulatedDriverConfig config;
    config.name = name;
    return config;
}

} // namespace apptest
