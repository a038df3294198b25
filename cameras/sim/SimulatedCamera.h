#pragma once
// A simulated camera looking at a dim, printed ring target in a dark room,
// with sensor noise and laser pulses. Its drivers are configurable so every
// connection path can be exercised without hardware.

#include "capture/service/CaptureDriver.h"
#include "capture/service/FrameLayout.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace simcamera {

struct SimulatedDriverConfig {
    std::string name = "Simulated Range Camera";
    std::string version = "Version 1.0";
    bool hasFormatDialog = true;
    bool hasSourceDialog = true;
    bool connectable = true; // false: the connect request answers 0
    // The output format (160 x 120 x 24 unless set); a negative height means
    // rows top-down.
    capture::FrameLayout format{};
    // Bytes that follow the 40-byte header in the format (a colour table, say).
    std::int32_t extraFormatBytes = 0;
};

struct SimulatedScene {
    int ambient = 60;       // paper brightness 0..255 (a dim room)
    double noise = 2.0;     // standard deviation of the sensor noise, in levels
    std::uint32_t seed = 1; // noise generator seed
    // Laser dot radius in pixels of a 160-pixel-wide picture. A dot blooms on
    // a camera sensor; at this size the analysis finds it anywhere on the
    // target at its default grid, even on the aiming cross.
    double dotRadius = 7.5;
    QColor dotColor{255, 40, 40};
};

class SimulatedCamera : public capture::CaptureDriverSource {
public:
    SimulatedCamera(); // one driver at index 0 with the default configuration
    ~SimulatedCamera() override;

    // Which indexes answer; an empty optional leaves that index silent.
    void setDriver(int index, std::optional<SimulatedDriverConfig> config);
    std::optional<SimulatedDriverConfig> driver(int index) const;
    // Changes a driver's output format, as its format dialog would.
    void setFormat(int index, std::int32_t width, std::int32_t height, std::int16_t bitCount);

    SimulatedScene& scene();

    // A laser pulse at a point of the picture, in fractions of its width and
    // height (0..1, origin top left, y down), lasting the given number of frames.
    void firePulse(QPointF point, int frames);
    // The same at an offset, in pixels of a 160 x 120 picture (x to the
    // right, y upwards), from the centre of the frame analysis' grid: pixel
    // column 80 of the bottom-up frame's row 60, which is row 59 from the top.
    void firePulseFromCentre(QPointF offset, int frames);

    // Delivers the next frame of every streaming driver at once (tests).
    void deliverNextFrame();

    // The camera's current view (top-down, RGB), for the range window.
    QImage view(int width, int height) const;

    // Tests: replaces what the format or source dialog does when shown.
    using DialogAction = std::function<void(int index, SimulatedCamera& camera)>;
    void setFormatDialogAction(DialogAction action);
    void setSourceDialogAction(DialogAction action);

    // CaptureDriverSource
    bool describe(int index, std::string& name, std::string& version) override;
    std::unique_ptr<capture::CaptureDriver> open(int index) override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace simcamera
