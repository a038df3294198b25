#include "cameras/sim/SimulatedCamera.h"

#include "cameras/sim/SimulatedCameraState.h"
#include "cameras/sim/SimulatedDriver.h"
#include "capture/service/CaptureWindow.h"

namespace simcamera {

struct SimulatedCamera::State {
    std::shared_ptr<SimulatedCameraState> shared = std::make_shared<SimulatedCameraState>();
};

namespace {

bool validIndex(int index) {
    return index >= 0 && index < capture::DriverIndexes;
}

} // namespace

SimulatedCamera::SimulatedCamera() : state_(std::make_unique<State>()) {
    state_->shared->camera = this;
    state_->shared->drivers[0] = SimulatedDriverConfig{};
}

SimulatedCamera::~SimulatedCamera() {
    state_->shared->camera = nullptr;
}

void SimulatedCamera::setDriver(int index, std::optional<SimulatedDriverConfig> config) {
    if (validIndex(index))
        state_->shared->drivers[static_cast<std::size_t>(index)] = std::move(config);
}

std::optional<SimulatedDriverConfig> SimulatedCamera::driver(int index) const {
    if (!validIndex(index))
        return std::nullopt;
    return state_->shared->drivers[static_cast<std::size_t>(index)];
}

void SimulatedCamera::setFormat(int index, std::int32_t width, std::int32_t height,
                                std::int16_t bitCount) {
    if (!validIndex(index))
        return;
    auto& config = state_->shared->drivers[static_cast<std::size_t>(index)];
    if (config) {
        config->format = {width, height, bitCount};
    }
    for (SimulatedDriver* open : state_->shared->openDrivers) {
        if (open->index() == index)
            open->setFormat(width, height, bitCount);
    }
}

SimulatedScene& SimulatedCamera::scene() {
    return state_->shared->scene;
}

void SimulatedCamera::firePulse(QPointF point, int frames) {
    state_->shared->pulsePoint = point;
    state_->shared->pulseFramesLeft = std::max(0, frames);
}

void SimulatedCamera::firePulseFromCentre(QPointF offset, int frames) {
    // Pixel centres lie at +0.5.
    firePulse(QPointF((80.5 + offset.x()) / 160.0, (59.5 - offset.y()) / 120.0), frames);
}

void SimulatedCamera::deliverNextFrame() {
    const capture::CaptureWindow::ImmediateDelivery immediate;
    // A frame routine may reconnect and so close drivers on the way.
    const auto shared = state_->shared;
    const std::vector<SimulatedDriver*> drivers = shared->openDrivers;
    for (SimulatedDriver* driver : drivers) {
        if (shared->isOpen(driver) && driver->isStreaming())
            driver->produceFrame();
    }
}

QImage SimulatedCamera::view(int width, int height) const {
    const SimulatedCameraState& shared = *state_->shared;
    QImage picture = renderTarget(width, height, shared.scene.ambient);
    if (shared.pulseFramesLeft > 0)
        paintDot(picture,
                 LaserDot{shared.pulsePoint, shared.scene.dotRadius, shared.scene.dotColor});
    return picture;
}

void SimulatedCamera::setFormatDialogAction(DialogAction action) {
    state_->shared->formatAction = std::move(action);
}

void SimulatedCamera::setSourceDialogAction(DialogAction action) {
    state_->shared->sourceAction = std::move(action);
}

bool SimulatedCamera::describe(int index, std::string& name, std::string& version) {
    const auto config = driver(index);
    if (!config)
        return false;
    name = config->name;
    version = config->version;
    return true;
}

std::unique_ptr<capture::CaptureDriver> SimulatedCamera::open(int index) {
    const auto config = driver(index);
    if (!config || !config->connectable)
        return nullptr;
    return std::make_unique<SimulatedDriver>(state_->shared, index, *config);
}

} // namespace simcamera
