#pragma once
// A fresh program run for every test: a private home, a simulated camera as
// the only capture driver source, answered message boxes, a watched ending,
// a record of the clips played, and one main window.

#include "app/Vantorel.h"
#include "platform/CaptureWindow.h"
#include "platform/SimulatedCamera.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ScratchHome.h"

#include <QString>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <vector>

class QAction;

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace apptest {

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Form_Load, and the window shown when the program did not end.
    void start();
    app::Vantorel& window() { return *window_; }
    QAction* action(const QString& name) const;
    platform::CaptureWindow* capture() const;

    // "New Game", and the pause after it ending.
    void clickNewGame();
    void openSeries();
    // The pause ends: what the re-arm timer does when it fires.
    void endPause();

    void deliverFrames(int count);
    // Fires a laser pulse at a point of the grid, in grid cells from the
    // centre of the 32 x 24 grid (the analysis at its defaults), positive dy
    // upwards, and delivers the frames that carry it.
    void fireAtCells(double dx, double dy);

    // The sound effects played, by clip index, in order.
    const std::vector<int>& effects() const { return effects_; }
    int endCount() const { return endCount_; }

    testsupport::ScratchHome home_;
    testsupport::MessageRecorder messages_;
    platform::SimulatedCamera camera_;
    std::vector<QString> opened_;

private:
    std::vector<int> effects_;
    int endCount_ = 0;
    std::unique_ptr<app::Vantorel> window_;
};

// The configuration of a driver that answers, with a name.
platform::SimulatedDriverConfig Driver(const std::string& name);

} // namespace apptest
