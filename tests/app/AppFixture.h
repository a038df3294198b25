#pragma once
// A fresh program run for every test: a private home, a simulated camera as
// the only capture driver source, answered message boxes, a watched ending,
// a record of the clips played and the files opened, and one main window.

#include "app/Vantorel.h"
#include "cameras/sim/SimulatedCamera.h"
#include "capture/service/CaptureService.h"
#include "capture/service/CaptureWindow.h"
#include "detection/Testing.h"
#include "platform/ProgramEnd.h"
#include "platform/ResourceReader.h"
#include "platform/Shell.h"
#include "platform/SoundOutput.h"
#include "tests/testsupport/MessageRecorder.h"
#include "tests/testsupport/ScratchHome.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace apptest {

// A row of a parameterised test, printed, and its test named, by its name.
struct Row {
    const char* name;
    friend std::ostream& operator<<(std::ostream& out, const Row& row) { return out << row.name; }
};
inline constexpr auto RowName = [](const auto& info) { return std::string(info.param.name); };

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override {
        QApplication::setQuitOnLastWindowClosed(false);
        platform::resetProgramEnded();
        platform::setEndHandler([this] { ++endCount_; });
        platform::setOpenHandler([this](const QString& target, bool /*isFile*/) {
            opened_.push_back(target);
            return true;
        });
        // Effects are known by their clips, WAVE 100 to 103.
        std::vector<QByteArray> clips(4);
        for (std::size_t k = 0; k < 4; ++k)
            clips[k] = platform::LoadResData(100 + static_cast<int>(k), QStringLiteral("WAVE"));
        platform::SoundOutput::setPlayObserver([this, clips](const QByteArray& image) {
            effects_.push_back(static_cast<int>(std::find(clips.begin(), clips.end(), image) -
                                                clips.begin())); // 4: no clip of ours
        });
        MotionDetection::ResetFrameStateForTesting();
        platform::installCaptureDriverSource(&camera_);
        window_ = std::make_unique<app::Vantorel>();
    }
    void TearDown() override {
        window_.reset();
        platform::installCaptureDriverSource(nullptr);
        platform::SoundOutput::setPlayObserver({});
        platform::SoundOutput::instance().stop();
        platform::setOpenHandler({});
        platform::setEndHandler({});
    }

    // Form_Load, and the window shown when the program did not end.
    void start() {
        window_->Form_Load();
        if (!window_->Ended())
            window_->show();
    }
    app::Vantorel& window() { return *window_; }
    QAction* action(const QString& name) const { return window_->findChild<QAction*>(name); }
    platform::CaptureWindow* capture() const {
        return platform::findCaptureWindow(window_->CaptureWnd());
    }
    void clickNewGame() {
        QTest::mouseClick(window_->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    }
    // The pause ends: what the re-arm timer does when it fires.
    void endPause() {
        ASSERT_EQ(window_->Timer1Interval(), 1500);
        window_->Timer1_Timer();
    }
    void deliverFrames(int count) {
        for (int i = 0; i < count; ++i)
            camera_.deliverNextFrame();
    }
    // Fires a laser pulse at a point of the grid, in grid cells from the
    // centre of the 32 x 24 grid (the analysis at its defaults), positive dy
    // upwards, and delivers the frames that carry it. Grid point (column,
    // row) is pixel (5 column, 5 row) of the bottom-up frame; the centre
    // (16, 12) is pixel column 80 of memory row 60, row 59 of the picture
    // seen top-down. A dot of radius 4 on the middle of a grid cell covers
    // its four corner points; on the centre, one of radius 7.5 covers the
    // four diagonal neighbours (those on the aiming cross never change).
    void fireAtCells(double dx, double dy) {
        camera_.scene().dotRadius = dx == 0.0 && dy == 0.0 ? 7.5 : 4.0;
        deliverFrames(2); // a settled picture to compare with
        camera_.firePulse(QPointF((80.5 + 5.0 * dx) / 160.0, (59.5 - 5.0 * dy) / 120.0), 3);
        deliverFrames(4);
    }

    testsupport::ScratchHome home_;
    testsupport::MessageRecorder messages_;
    platform::SimulatedCamera camera_;
    std::vector<QString> opened_;
    std::vector<int> effects_; // the clips played, by index, in order
    int endCount_ = 0;
    std::unique_ptr<app::Vantorel> window_;
};

} // namespace apptest
