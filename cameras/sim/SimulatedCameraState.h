#pragma once
// What a simulated camera shares with the drivers it opened: the driver
// configurations, the scene, the laser pulse and the dialog replacements.
// Drivers hold it shared, so a driver outliving its camera stays safe.

#include "cameras/sim/SimulatedCamera.h"

#include <QPointF>
#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace simcamera {

class SimulatedDriver;

struct SimulatedCameraState {
    std::array<std::optional<SimulatedDriverConfig>, capture::DriverIndexes> drivers;
    SimulatedScene scene;
    QPointF pulsePoint;
    int pulseFramesLeft = 0;
    SimulatedCamera::DialogAction formatAction;
    SimulatedCamera::DialogAction sourceAction;
    std::vector<SimulatedDriver*> openDrivers;
    SimulatedCamera* camera = nullptr; // null once the camera is gone

    bool isOpen(const SimulatedDriver* driver) const {
        return std::find(openDrivers.begin(), openDrivers.end(), driver) != openDrivers.end();
    }
};

} // namespace simcamera
