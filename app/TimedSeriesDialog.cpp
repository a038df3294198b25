#include "app/TimedSeriesDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QSpinBox>
#include <cmath>

namespace app {
namespace {

double seconds(DrillRules::Duration duration) {
    return static_cast<double>(duration.count()) / 1000.0;
}

DrillRules::Duration duration(const QDoubleSpinBox* box) {
    return DrillRules::Duration(std::lround(box->value() * 1000.0));
}

QDoubleSpinBox* secondsBox(const QString& name, DrillRules::Duration lowest,
                           DrillRules::Duration highest, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setDecimals(2);
    box->setSingleStep(0.5);
    box->setRange(seconds(lowest), seconds(highest));
    box->setSuffix(QStringLiteral(" s"));
    return box;
}

} // namespace

TimedSeriesDialog::TimedSeriesDialog(const DrillRules& rules, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TimedSeriesDialog"));
    setWindowTitle(QStringLiteral("Timed Series"));
    auto* form = new QFormLayout(this);

    preset_ = new QComboBox(this);
    preset_->setObjectName(QStringLiteral("preset"));
    preset_->addItem(QStringLiteral("Own choice"));
    for (const DrillRules& preset : drillPresets())
        preset_->addItem(preset.name);
    form->addRow(QStringLiteral("Drill:"), preset_);

    shots_ = new QSpinBox(this);
    shots_->setObjectName(QStringLiteral("shots"));
    shots_->setRange(1, DrillRules::MostShots);
    form->addRow(QStringLiteral("Shots per string:"), shots_);
    strings_ = new QSpinBox(this);
    strings_->setObjectName(QStringLiteral("strings"));
    strings_->setRange(1, DrillRules::MostStrings);
    form->addRow(QStringLiteral("Strings:"), strings_);

    auto* delayRow = new QHBoxLayout;
    delayFrom_ = secondsBox(QStringLiteral("delayFrom"), DrillRules::ShortestDelay,
                            DrillRules::LongestDelay, this);
    randomDelay_ = new QCheckBox(QStringLiteral("random, up to"), this);
    randomDelay_->setObjectName(QStringLiteral("randomDelay"));
    delayTo_ = secondsBox(QStringLiteral("delayTo"), DrillRules::ShortestDelay,
                          DrillRules::LongestDelay, this);
    delayRow->addWidget(delayFrom_);
    delayRow->addWidget(randomDelay_);
    delayRow->addWidget(delayTo_);
    form->addRow(QStringLiteral("Start delay:"), delayRow);

    auto* parRow = new QHBoxLayout;
    parOn_ = new QCheckBox(QStringLiteral("after"), this);
    parOn_->setObjectName(QStringLiteral("parOn"));
    par_ = secondsBox(QStringLiteral("par"), DrillRules::ShortestPar, DrillRules::LongestPar, this);
    parRow->addWidget(parOn_);
    parRow->addWidget(par_, 1);
    form->addRow(QStringLiteral("Par time:"), parRow);

    pause_ = new QComboBox(this);
    pause_->setObjectName(QStringLiteral("pause"));
    pause_->addItem(QStringLiteral("1.5 s"));
    pause_->addItem(QStringLiteral("Short: 0.15 s, for fast strings"));
    form->addRow(QStringLiteral("Pause after a hit:"), pause_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    showRules(rules.heldToRange());
    connect(preset_, &QComboBox::activated, this, &TimedSeriesDialog::presetChosen);
    for (QSpinBox* box : {shots_, strings_})
        connect(box, &QSpinBox::valueChanged, this, &TimedSeriesDialog::valueChanged);
    for (QDoubleSpinBox* box : {delayFrom_, delayTo_, par_})
        connect(box, &QDoubleSpinBox::valueChanged, this, &TimedSeriesDialog::valueChanged);
    for (QCheckBox* box : {randomDelay_, parOn_})
        connect(box, &QCheckBox::toggled, this, &TimedSeriesDialog::valueChanged);
    connect(pause_, &QComboBox::currentIndexChanged, this, &TimedSeriesDialog::valueChanged);
}

void TimedSeriesDialog::showRules(const DrillRules& rules) {
    showing_ = true;
    const std::vector<DrillRules> presets = drillPresets();
    int index = 0;
    for (std::size_t k = 0; k < presets.size(); ++k)
        if (presets[k] == rules)
            index = static_cast<int>(k) + 1;
    preset_->setCurrentIndex(index);
    shots_->setValue(rules.shots);
    strings_->setValue(rules.strings);
    delayFrom_->setValue(seconds(rules.delayFrom));
    randomDelay_->setChecked(rules.randomDelay());
    delayTo_->setValue(seconds(rules.delayTo));
    delayTo_->setEnabled(rules.randomDelay());
    parOn_->setChecked(rules.par.has_value());
    par_->setValue(seconds(rules.par.value_or(DrillRules::Duration(2000))));
    par_->setEnabled(rules.par.has_value());
    pause_->setCurrentIndex(rules.shortPause ? 1 : 0);
    showing_ = false;
}

void TimedSeriesDialog::presetChosen(int index) {
    const std::vector<DrillRules> presets = drillPresets();
    if (index >= 1 && index <= static_cast<int>(presets.size()))
        showRules(presets[static_cast<std::size_t>(index - 1)]);
}

void TimedSeriesDialog::valueChanged() {
    if (showing_)
        return;
    delayTo_->setEnabled(randomDelay_->isChecked());
    par_->setEnabled(parOn_->isChecked());
    // A preset changed is the shooter's own drill.
    DrillRules now = chosen();
    now.name.clear();
    const std::vector<DrillRules> presets = drillPresets();
    int index = 0;
    for (std::size_t k = 0; k < presets.size(); ++k) {
        DrillRules unnamed = presets[k];
        unnamed.name.clear();
        if (unnamed == now)
            index = static_cast<int>(k) + 1;
    }
    const QSignalBlocker quiet(preset_);
    preset_->setCurrentIndex(index);
}

DrillRules TimedSeriesDialog::chosen() const {
    DrillRules rules;
    const int index = preset_->currentIndex();
    if (index >= 1)
        rules.name = preset_->currentText();
    rules.shots = static_cast<std::int16_t>(shots_->value());
    rules.strings = static_cast<std::int16_t>(strings_->value());
    rules.delayFrom = duration(delayFrom_);
    rules.delayTo = randomDelay_->isChecked() ? duration(delayTo_) : rules.delayFrom;
    if (parOn_->isChecked())
        rules.par = duration(par_);
    rules.shortPause = pause_->currentIndex() == 1;
    return rules.heldToRange();
}

} // namespace app
