// The end of the program: the Exit item, the close control, a failed
// connection and a refused format all unload the main window.

#include "app/Vantorel.h"

#include "capture/CallBackFunctions.h"
#include "detection/MotionDetection.h"
#include "platform/ProgramEnd.h"
#include "settings/SettingsFrm.h"
#include "support/AboutFrm.h"
#include "support/Sound.h"

#include <QCloseEvent>
#include <QTimer>

namespace app {

void Vantorel::ExitProgram() {
    if (ended_)
        return;
    Form_Unload();
}

void Vantorel::closeEvent(QCloseEvent* event) {
    if (!ended_)
        Form_Unload();
    event->accept();
}

void Vantorel::Form_Unload() {
    // From here on no handler of the window does anything, whatever event
    // is still queued.
    ended_ = true;
    Timer1->stop();
    MotionDetection::setHitTarget(nullptr);
    CallBackFunctions::ClearCallbacks(captureWnd_);
    Sound::FreeSounds();
    platform::endProgram(exitStatus_);
    // Only reached when the ending is watched rather than real: every window
    // goes as it would with the process.
    if (settings_)
        settings_->hide();
    if (about_)
        about_->hide();
    hide();
}

} // namespace app
