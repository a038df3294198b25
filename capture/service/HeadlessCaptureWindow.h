#pragma once
// A capture window without a screen of its own, connected to one driver of a
// source: what the tools, benchmarks, fuzz targets and tests use where the
// program has its main window. The source is installed for as long as the
// window lives and the one before it is put back afterwards.

#include "capture/CaptureRecords.h"
#include "capture/service/CaptureDriver.h"
#include "platform/SeamGuard.h"

#include <QWidget>

namespace capture {

class HeadlessCaptureWindow {
public:
    // The source must outlive the window.
    explicit HeadlessCaptureWindow(CaptureDriverSource& source, int index = 0);
    ~HeadlessCaptureWindow();
    HeadlessCaptureWindow(const HeadlessCaptureWindow&) = delete;
    HeadlessCaptureWindow& operator=(const HeadlessCaptureWindow&) = delete;

    CaptureHandle handle() const { return handle_; }
    // False when the driver could not be connected; the handle still names
    // the window.
    bool connected() const { return connected_; }

private:
    platform::SeamGuard<CaptureDriverSource*> installed_;
    QWidget host_; // owns the capture window, which goes before the guard
    CaptureHandle handle_ = 0;
    bool connected_ = false;
};

} // namespace capture
