#pragma once
// What the fuzz targets share: a headless Qt program with a scratch
// settings folder, and a capture window connected to a driver that reports
// whatever video format record the input gives and delivers whatever frame
// bytes it is handed.

#include "capture/CaptureRecords.h"
#include "capture/service/CaptureDriver.h"

#include <QByteArray>
#include <cstdint>
#include <vector>

namespace fuzz {

// Once per process: the offscreen application and the settings folder.
void startQt();

class FuzzDriver : public platform::CaptureDriver {
public:
    QByteArray format; // what videoFormat() reports, as it stands
    QByteArray videoFormat() const override { return format; }
    bool hasFormatDialog() const override { return false; }
    bool hasSourceDialog() const override { return false; }
    bool showFormatDialog(QWidget* /*parent*/) override { return false; }
    bool showSourceDialog(QWidget* /*parent*/) override { return false; }
    void setStreaming(bool on, int periodMs, FrameSink sink) override;
    // Through the capture window to its frame routine, when it previews.
    void push(std::vector<std::uint8_t>& frame);

private:
    FrameSink sink_;
};

// A capture window connected to a FuzzDriver at index 0, previewing, every
// pushed frame delivered at once; made on first use and kept.
struct FuzzCapture {
    platform::CaptureHandle window = 0;
    FuzzDriver* driver = nullptr;
};
FuzzCapture& fuzzCapture();

// The header fields of a format record as a driver reports it.
QByteArray formatRecord(std::int32_t width, std::int32_t height, std::int16_t bitCount);

} // namespace fuzz
