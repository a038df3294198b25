#pragma once
// A simulated camera installed as the capture service's driver source, a
// parent window for capture windows, and a log of the capture messages sent.

#include "platform/CaptureService.h"
#include "platform/SimulatedCamera.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

struct SentMessage {
    platform::CaptureHandle window;
    std::uint32_t message;
    std::int32_t wParam;
    std::intptr_t lParam;
};

class CaptureTest : public ::testing::Test {
protected:
    CaptureTest();
    ~CaptureTest() override;

    // A capture window at (30, 28), 160 x 120, in the parent.
    platform::CaptureHandle createWindow();
    // A window connected to the driver at the index.
    platform::CaptureHandle connectedWindow(int index = 0);
    // Starts the message log afresh.
    void logMessages();

    platform::SimulatedCamera camera; // declared first: outlives the windows
    QWidget parent;
    std::vector<SentMessage> sent;
};
