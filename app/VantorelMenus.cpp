// The menu handlers of the main window.

#include "app/Vantorel.h"

#include "capture/AVICAP.h"
#include "capture/StatusFunctions.h"
#include "detection/EnhancedDetection.h"
#include "settings/SettingsFrm.h"
#include "support/AboutFrm.h"
#include "support/CreateFiles.h"

namespace app {

void Vantorel::ex_Click() {
    if (ended_)
        return;
    ExitProgram();
}

void Vantorel::frt_Click() {
    if (ended_)
        return;
    AVICAP::VideoFormatDialog(captureWnd_);
    reconnectAfterDialog();
}

void Vantorel::src_Click() {
    if (ended_)
        return;
    AVICAP::VideoSourceDialog(captureWnd_);
    reconnectAfterDialog();
}

// The driver's dialog may have changed the format: connect the same driver
// again, which tests the format again.
void Vantorel::reconnectAfterDialog() {
    if (ended_)
        return;
    ConnectDevice(static_cast<std::int16_t>(StatusFunctions::GetDeviceIndex(captureWnd_)));
}

void Vantorel::stt_Click() {
    if (ended_)
        return;
    SettingsFrm& settings = Settings();
    settings.show();
    settings.raise();
}

void Vantorel::enhancedToggled(bool on) {
    if (ended_)
        return;
    MotionDetection::setEnhancedDetection(on);
}

void Vantorel::dev_Click(std::int16_t index) {
    if (ended_)
        return;
    ConnectDevice(index);
}

void Vantorel::hlp_Click() {
    if (ended_)
        return;
    CreateFiles::OpenHelp();
}

void Vantorel::abt_Click() {
    if (ended_)
        return;
    if (!about_)
        about_ = std::make_unique<AboutFrm>();
    about_->show();
    about_->raise();
}

SettingsFrm& Vantorel::Settings() {
    // Created hidden on first use, without an owner window.
    if (!settings_)
        settings_ = std::make_unique<SettingsFrm>();
    return *settings_;
}

} // namespace app
