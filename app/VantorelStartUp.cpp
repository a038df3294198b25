// Start-up: the device menu, the clips, the display font, the stored
// detection parameters, the target centre and the capture connection.

#include "app/Vantorel.h"

#include "app/ScoreCard.h"
#include "app/StateLamp.h"
#include "capture/ConnectionFunctions.h"
#include "detection/EnhancedDetection.h"
#include "detection/MotionDetection.h"
#include "platform/MessageBox.h"
#include "platform/Product.h"
#include "platform/Rounding.h"
#include "platform/SettingsStore.h"
#include "platform/Twips.h"
#include "settings/SettingsFrm.h"
#include "support/CreateFiles.h"
#include "support/Sound.h"

#include <QAction>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <cstdio>

namespace app {
namespace {

const QString DisplayFont = QStringLiteral("LCD2");

// The box only says that no camera was found; what to check goes to the
// terminal, for whoever started the program from one.
constexpr char NoCameraAdvice[] =
    "No camera was found. Check:\n"
    "  - that the camera is plugged in and has a device node: ls /dev/video*\n"
    "  - that your user is in the 'video' group: id -nG\n"
    "    (to join it: sudo usermod -aG video $USER, then log in again)\n"
    "  - that no other program holds the camera: close it, then start again\n"
    "    (cameras are listed only at start)\n"
    "To practise without a camera, start vantorel-sim.\n";

// A start that finds no camera has failed; its exit status says so.
constexpr int ExitNoCamera = 1;

// The entry's caption: the Name field followed by the Version field, up to
// the first NUL (the name alone when the driver ended it with a NUL). Drivers
// write UTF-8.
QString DeviceCaption(const ConnectionFunctions::CaptureDevice& device) {
    QByteArray whole(device.Name.data(), static_cast<int>(device.Name.size()));
    whole.append(device.Version.data(), static_cast<int>(device.Version.size()));
    return QString::fromUtf8(
        whole.left(whole.indexOf('\0') < 0 ? whole.size() : whole.indexOf('\0')));
}

// Sets a font and tells whether the face asked for is the one in use.
bool AssignFont(QWidget* widget, const QString& family, int pointSize) {
    QFont font = widget->font();
    font.setFamily(family);
    if (QFontInfo(font).family() != family)
        return false;
    font.setPointSize(pointSize);
    font.setBold(true);
    widget->setFont(font);
    return true;
}

} // namespace

void Vantorel::Form_Load() {
    if (ended_)
        return;
    // An index that does not answer leaves a gap; the entries of those that
    // do still connect to their own index.
    deviceCount_ = ConnectionFunctions::ListCaptureDrivers(devices_);
    if (deviceCount_ == 0) {
        platform::showMessage({QStringLiteral("No Capture Hardware Detected"),
                               platform::ProductTitle, platform::MessageButtons::Ok,
                               platform::MessageIcon::Information});
        std::fputs(NoCameraAdvice, stderr);
        exitStatus_ = ExitNoCamera;
        ExitProgram();
        return;
    }
    for (int i = 0; i < Devices; ++i) {
        if (devices_.Answered[i]) {
            dev[i]->setText(DeviceCaption(devices_.Devices[i]));
            dev[i]->setVisible(true);
        } else {
            dev[i]->setVisible(false);
            dev[i]->setText(QString());
        }
    }

    Sound::LoadSounds();
    InitWindow();

    captureWnd_ = ConnectionFunctions::CreateCaptureWindow(
        "", capture::WS_CHILD | capture::WS_VISIBLE, 30, 28, 160, 120, client_, 0);
    int first = 0;
    while (!devices_.Answered[first])
        ++first;
    ConnectDevice(static_cast<std::int16_t>(first));
    if (!ended_)
        restoreView();
}

void Vantorel::InitWindow() {
    CreateFiles::InstallFont();
    applyRunTimeFonts();
    loadStoredParameters();

    setWindowTitle(platform::ProductName);
    const double left = platform::pixelsToTwips(Image1->x());
    const double top = platform::pixelsToTwips(Image1->y());
    const double width = platform::pixelsToTwips(Image1->width());
    const double height = platform::pixelsToTwips(Image1->height());
    targetCentreX_ = platform::nearest(left + width / 2);
    targetCentreY_ = platform::nearest(top + height / 2);
}

// Qt never refuses a font; a face that is not installed is replaced by
// another. That replacement counts as the failed assignment, which skips the
// rest of the fonts.
void Vantorel::applyRunTimeFonts() {
    if (!AssignFont(Text1, DisplayFont, 11))
        return;
    AssignFont(Command1, DisplayFont, 14);
    stateLamp_->setFont(Command1->font()); // sized to the lamp when drawn
}

// The stored values reach their setters through the settings dialog's
// sliders, which hold each one to the slider's range.
void Vantorel::loadStoredParameters() {
    const std::array<const MotionDetection::ParameterRange*, 4> ranges{
        &MotionDetection::SampleEveryNthFrameRange, &MotionDetection::CompareEveryNthByteRange,
        &MotionDetection::ToleranceRange, &MotionDetection::MaxLaserBeamRange};
    SettingsFrm& settings = Settings();
    for (int i = 0; i < 4; ++i) {
        const QString key = QString::fromLatin1(ranges[i]->key);
        const QString fallback = QStringLiteral(" %1").arg(ranges[i]->defaultValue);
        const QString text = platform::readSetting(QStringLiteral("Vantorel"),
                                                   QStringLiteral("Settings"), key, fallback);
        settings.Slider1(i)->setValue(MotionDetection::readStoredValue(text));
    }
    MotionDetection::SetSampleEveryNthFrame(settings.Slider1(0)->value());
    MotionDetection::SetCompareEveryNthByte(settings.Slider1(1)->value());
    MotionDetection::SetTolerance(settings.Slider1(2)->value());
    MotionDetection::SetMaxLaserBeam(settings.Slider1(3)->value());
    // The detection mode has a key of its own; read, not written back.
    MotionDetection::loadEnhancedDetection();
    const QSignalBlocker quiet(enhancedItem_);
    enhancedItem_->setChecked(MotionDetection::enhancedDetection());
}

} // namespace app
