#include "settings/SettingsFrm.h"

#include "detection/MotionDetection.h"
#include "platform/ResourceReader.h"
#include "platform/Twips.h"

#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <algorithm>

namespace {
struct SliderRow {
    const MotionDetection::ParameterRange& range;
    void (*setter)(std::int32_t);
    const char* caption;
    const char* tooltip;
    int labelTop;
    int sliderTop;
};

const std::array<SliderRow, SettingsFrm::SliderCount> Rows{{
    {MotionDetection::SampleEveryNthFrameRange, MotionDetection::SetSampleEveryNthFrame,
     "Sample Every N-th Frame",
     "Compares each frame with the frame that comes after N frames (if N=5 then compared "
     "frames are 5,10,15,20,...)",
     255, 510},
    {MotionDetection::CompareEveryNthByteRange, MotionDetection::SetCompareEveryNthByte,
     "Compare Every N-th Byte", "Compares only one pixel from NxN square", 990, 1230},
    {MotionDetection::ToleranceRange, MotionDetection::SetTolerance, "Tolerance",
     "Determines a desired difference between pixel before and after shot in order to be "
     "graded as changed pixel",
     1695, 1950},
    {MotionDetection::MaxLaserBeamRange, MotionDetection::SetMaxLaserBeam,
     "Maximal Laser Beam Diameter",
     "Determines a maximal laser beam diameter, so that beams with  larger diameter will not "
     "be "
     "accepted",
     2415, 2670},
}};

QGroupBox* frame(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* box = new QGroupBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(platform::twipsToPixels(left), platform::twipsToPixels(top),
                     platform::twipsToPixels(width), platform::twipsToPixels(height));
    return box;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption, int left) {
    auto* push = new QPushButton(QLatin1String(caption), parent);
    push->setObjectName(QLatin1String(name));
    // At least as wide as its caption needs: a larger font or a roomier
    // style must not cut the text.
    const int width = std::max(platform::twipsToPixels(1455), push->sizeHint().width());
    push->setGeometry(platform::twipsToPixels(left), platform::twipsToPixels(285), width,
                      platform::twipsToPixels(375));
    push->setAutoDefault(false);
    return push;
}
} // namespace

SettingsFrm::SettingsFrm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("SettingsFrm"));
    setWindowTitle(QStringLiteral("Settings"));
    setWindowIcon(QIcon(platform::resourcePicture(platform::Picture::Icon)));
    setFixedSize(platform::twipsToPixels(4965), platform::twipsToPixels(4050));

    Frame1 = frame(this, "Frame1", 60, 0, 4845, 3045);
    Frame2 = frame(this, "Frame2", 60, 3150, 4845, 840);
    const QCursor hand = platform::handCursor();
    for (int i = 0; i < SliderCount; ++i) {
        const SliderRow& row = Rows.at(static_cast<std::size_t>(i));
        auto* label = new QLabel(QLatin1String(row.caption), Frame1);
        label->setObjectName(QStringLiteral("Label1_%1").arg(i));
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setGeometry(platform::twipsToPixels(120), platform::twipsToPixels(row.labelTop),
                           platform::twipsToPixels(4575), platform::twipsToPixels(225));
        label->setToolTip(QLatin1String(row.tooltip));
        labels_.at(static_cast<std::size_t>(i)) = label;

        auto* slider = new QSlider(Qt::Horizontal, Frame1);
        slider->setObjectName(QStringLiteral("Slider1_%1").arg(i));
        slider->setGeometry(platform::twipsToPixels(300), platform::twipsToPixels(row.sliderTop),
                            platform::twipsToPixels(4185), platform::twipsToPixels(195));
        slider->setRange(row.range.min, row.range.max);
        slider->setSingleStep(1);
        slider->setPageStep(5);
        slider->setTickPosition(QSlider::NoTicks);
        slider->setCursor(hand);
        connect(slider, &QSlider::valueChanged, this,
                [this, i] { Slider1_Change(static_cast<std::int16_t>(i)); });
        sliders_.at(static_cast<std::size_t>(i)) = slider;
    }

    Command2 = button(Frame2, "Command2", "Default Settings", 360);
    Command1 = button(Frame2, "Command1", "Close", 2970);
    connect(Command2, &QPushButton::clicked, this, &SettingsFrm::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &SettingsFrm::Command1_Click);

    // The keyboard visits the sliders 0..3, then the two buttons.
    setTabOrder(sliders_[0], sliders_[1]);
    setTabOrder(sliders_[1], sliders_[2]);
    setTabOrder(sliders_[2], sliders_[3]);
    setTabOrder(sliders_[3], Command2);
    setTabOrder(Command2, Command1);
}

void SettingsFrm::Slider1_Change(std::int16_t Index) {
    if (Index < 0 || Index >= SliderCount)
        return;
    const auto i = static_cast<std::size_t>(Index);
    Rows.at(i).setter(static_cast<std::int32_t>(sliders_.at(i)->value()));
}

void SettingsFrm::Command2_Click() {
    for (int i = 0; i < SliderCount; ++i)
        Slider1(i)->setValue(Rows.at(static_cast<std::size_t>(i)).range.defaultValue);
    // Called here as well, so the stored values are written again even when
    // no slider moved.
    for (int i = 0; i < SliderCount; ++i)
        Slider1_Change(static_cast<std::int16_t>(i));
}

void SettingsFrm::Command1_Click() {
    hide();
}
