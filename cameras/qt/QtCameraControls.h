#pragma once
// The picture controls a camera may offer in its source dialog. Controls a
// camera lacks are simply absent from its list.

#include <QString>
#include <vector>

namespace qtcamera {

struct CameraControl {
    enum class Kind { Exposure, Gain, Brightness };
    Kind kind = Kind::Exposure;
    int minimum = 0;
    int maximum = 0;
    int step = 1;
    int value = 0;

    // "Exposure", "Gain", "Brightness": the caption and the widget's name.
    static QString name(Kind kind);
};

using CameraControls = std::vector<CameraControl>;

} // namespace qtcamera
