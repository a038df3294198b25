#pragma once
// Drill > Timed Series...: the drill to shoot, from a preset or the
// shooter's own choice of shots per string, strings, start delay (fixed or
// random between two values), par time and pause after a hit.

#include "app/series/DrillRules.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

namespace app {

class TimedSeriesDialog : public QDialog {
    Q_OBJECT
public:
    TimedSeriesDialog(const DrillRules& rules, QWidget* parent);

    // The drill as the dialog shows it, held to its ranges.
    DrillRules chosen() const;

private:
    void showRules(const DrillRules& rules);
    void presetChosen(int index);
    void valueChanged();

    QComboBox* preset_ = nullptr;
    QSpinBox* shots_ = nullptr;
    QSpinBox* strings_ = nullptr;
    QDoubleSpinBox* delayFrom_ = nullptr;
    QCheckBox* randomDelay_ = nullptr;
    QDoubleSpinBox* delayTo_ = nullptr;
    QCheckBox* parOn_ = nullptr;
    QDoubleSpinBox* par_ = nullptr;
    QComboBox* pause_ = nullptr;
    bool showing_ = false; // values being filled in, not changed by the shooter
};

} // namespace app
