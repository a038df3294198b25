#pragma once
// The settings dialog: four sliders that tune the detection parameters
// live, "Default Settings" and "Close". The sliders' positions are its only
// state; closing it, by the button or the title bar, only hides it.

#include <QDialog>
#include <array>
#include <cstdint>

class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;

class SettingsFrm : public QDialog {
    Q_OBJECT
public:
    static constexpr int SliderCount = 4;

    explicit SettingsFrm(QWidget* parent = nullptr);

    // Slider1(index) and Label1(index), index 0..3, belong to one parameter:
    // SampleEveryNthFrame, CompareEveryNthByte, Tolerance, MaxLaserBeam.
    QSlider* Slider1(int index) const { return sliders_.at(static_cast<std::size_t>(index)); }
    QLabel* Label1(int index) const { return labels_.at(static_cast<std::size_t>(index)); }

    // Hands Slider1(Index)'s value to its parameter's setter.
    void Slider1_Change(std::int16_t Index);
    void Command2_Click(); // "Default Settings"
    void Command1_Click(); // "Close"

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command1 = nullptr;

private:
    std::array<QSlider*, SliderCount> sliders_{};
    std::array<QLabel*, SliderCount> labels_{};
};
