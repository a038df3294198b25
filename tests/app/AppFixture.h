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
#include "platform/SeamGuard.h"
#include "platform/Shell.h"
#include "platform/SoundOutput.h"
#include "tests/fixtures/MessageRecorder.h"
#include "tests/fixtures/ScratchHome.h"

#include <QAction>
#include <QApplication>
#include <QProcess>
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
    AppFixture() {
        QApplication::setQuitOnLastWindowClosed(false);
        MotionDetection::resetFrameStateForTesting();
        window_ = std::make_unique<app::Vantorel>();
    }
    ~AppFixture() override {
        window_.reset();
        platform::SoundOutput::instance().stopNow();
    }

    // Form_Load, and the window shown when the program did not end.
    void start() {
        window_->Form_Load();
        if (!window_->Ended())
            window_->show();
    }
    app::Vantorel& window() { return *window_; }
    QAction* action(const QString& name) const { return window_->findChild<QAction*>(name); }
    capture::CaptureWindow* capture() const {
        return capture::findCaptureWindow(window_->CaptureWnd());
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
    // Runs a built program to its end: its exit status and all it wrote.
    static QString run(const QString& program, const QStringList& arguments, int& status) {
        QProcess process;
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        status = process.exitCode();
        return process.readAllStandardOutput() + process.readAllStandardError();
    }

    fixtures::ScratchHome home_;
    fixtures::MessageRecorder messages_;
    simcamera::SimulatedCamera camera_;
    std::vector<QString> opened_;
    std::vector<int> effects_; // the clips played, by index, in order
    int endCount_ = 0;
    int endStatus_ = -1; // the exit status of the last ending
    const platform::SeamGuard<platform::EndHandler> ending_{platform::setEndHandler,
                                                            [this](int status) {
                                                                ++endCount_;
                                                                endStatus_ = status;
                                                            }};
    const platform::SeamGuard<platform::OpenHandler> shell_{
        platform::setOpenHandler, [this](const QString& target, bool /*isFile*/) {
            opened_.push_back(target);
            return true;
        }};
    // The clips played are known by their index, WAVE 100 to 105 (6: none).
    const platform::SeamGuard<platform::SoundOutput::PlayObserver> sounds_{
        platform::SoundOutput::setPlayObserver, [this](const QByteArray& image) {
            int k = 0;
            while (k < 6 && image != platform::resourceData(100 + k, QStringLiteral("WAVE")))
                ++k;
            effects_.push_back(k);
        }};
    const platform::SeamGuard<capture::CaptureDriverSource*> source_{
        capture::installCaptureDriverSource, &camera_};
    std::unique_ptr<app::Vantorel> window_;
};

} // namespace apptest
