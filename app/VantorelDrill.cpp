// The timed drill on the main window: the Drill menu, the Timed Series
// dialog, and what the drill says of "New Game", hits, its delay, par time
// and pauses, shown on the score card and the lamp, played as beeps and
// cues and kept in the history.

#include "app/DrillSettings.h"
#include "app/FrameTap.h"
#include "app/ScoreCard.h"
#include "app/StateLamp.h"
#include "app/TimedSeriesDialog.h"
#include "app/Vantorel.h"
#include "capture/DeliveredPicture.h"
#include "detection/MotionDetection.h"
#include "platform/ShotClock.h"
#include "platform/ShotTally.h"
#include "record/FrameRecorder.h"
#include "record/HistoryFile.h"
#include "support/Sound.h"

#include <QAction>
#include <QActionGroup>
#include <QDateTime>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <cstdio>
#include <variant>

namespace app {

void Vantorel::buildDrillMenu() {
    drl = menuBar()->addMenu(QStringLiteral("&Drill"));
    drl->setObjectName(QStringLiteral("drl"));
    auto* choice = new QActionGroup(drl);
    standardItem_ = drl->addAction(QStringLiteral("Standard Series"));
    standardItem_->setObjectName(QStringLiteral("standardSeries"));
    timedItem_ = drl->addAction(QStringLiteral("Timed Series..."));
    timedItem_->setObjectName(QStringLiteral("timedSeries"));
    for (QAction* item : {standardItem_, timedItem_}) {
        item->setCheckable(true);
        choice->addAction(item);
    }
    standardItem_->setChecked(true);
    drl->addSeparator()->setObjectName(QStringLiteral("drillSpacer"));
    stopItem_ = drl->addAction(QStringLiteral("Stop Drill"));
    stopItem_->setObjectName(QStringLiteral("stopDrill"));
    stopItem_->setEnabled(false);
    connect(standardItem_, &QAction::triggered, this, &Vantorel::standardSeriesChosen);
    connect(timedItem_, &QAction::triggered, this, &Vantorel::timedSeriesChosen);
    connect(stopItem_, &QAction::triggered, this, &Vantorel::stopDrill);
}

void Vantorel::standardSeriesChosen() {
    if (ended_)
        return;
    standardItem_->setChecked(true);
    stopItem_->setEnabled(false);
    if (!drill_)
        return;
    // A new start: the ten-shot game as the program begins with it.
    stopDrillTimers();
    drill_.reset();
    series_ = ShotSeries({.shots = Markers, .pause = std::chrono::milliseconds(1500)});
    clearTarget();
    showStage();
}

void Vantorel::timedSeriesChosen() {
    if (ended_)
        return;
    QStringList damaged;
    const DrillRules stored = loadDrillRules(&damaged);
    for (const QString& value : damaged)
        std::fprintf(stderr,
                     "vantorel: the stored drill value %s is not a number; its default is used\n",
                     qPrintable(value));
    TimedSeriesDialog dialog(stored, this);
    if (dialog.exec() != QDialog::Accepted || ended_) {
        // The item shows the drill that runs, not the one the shooter looked at.
        (drill_ ? timedItem_ : standardItem_)->setChecked(true);
        return;
    }
    const DrillRules rules = dialog.chosen();
    saveDrillRules(rules);
    stopDrillTimers();
    drill_.emplace(rules);
    timedItem_->setChecked(true);
    stopItem_->setEnabled(true);
    clearTarget();
    showStage();
}

void Vantorel::stopDrill() {
    if (ended_ || !drill_)
        return;
    drill_->stop();
    stopDrillTimers();
    showStage();
}

void Vantorel::stopDrillTimers() {
    delayTimer_->stop();
    parTimer_->stop();
    Timer1->stop(); // the pause after a shot
}

void Vantorel::newDrillGame() {
    stopDrillTimers();
    beginString(drill_->newGame());
}

void Vantorel::beginString(const TimedDrill::StringStart& start) {
    parTimer_->stop();
    if (start.freshCard)
        clearTarget();
    delayTimer_->start(start.delay);
    showStage();
}

void Vantorel::delayTimer_Timer() {
    if (ended_ || !drill_)
        return;
    delayTimer_->stop();
    if (!drill_->delayOver(platform::shotClockNow()))
        return;
    Sound::PlayEffect(Sound::StartBeepEffect);
    if (const std::optional<DrillRules::Duration> par = drill_->rules().par)
        parTimer_->start(*par);
    showStage();
}

void Vantorel::parTimer_Timer() {
    if (ended_ || !drill_)
        return;
    parTimer_->stop();
    if (drill_->parOver())
        Sound::PlayEffect(Sound::ParBeepEffect);
}

void Vantorel::drillHit(std::int32_t x, std::int32_t y, double score) {
    platform::ShotTally& tally = platform::shotTally();
    // A dot held past the short pause is seen again as it goes out: that is
    // the end of the shot before, not a new one.
    if (MotionDetection::hitWentOut()) {
        tally.count(platform::MissReason::DotWentOut);
        return;
    }
    // The time of the frame that showed the flash, not of its analysis; a hit
    // from outside a frame counts as now.
    const platform::ShotTime now = platform::shotClockNow();
    const platform::ShotTime captured = capture::deliveredFrameTime(captureWnd_).value_or(now);
    const TimedDrill::Outcome outcome = drill_->hit(captured, x, y, score);
    if (const auto* reason = std::get_if<platform::MissReason>(&outcome)) {
        tally.count(*reason);
        if (*reason == platform::MissReason::EarlyShot)
            stateLamp_->setState(StateLamp::State::Early);
        return;
    }
    const auto& shot = std::get<TimedDrill::Shot>(outcome);
    tally.countShot();
    placeMarker(shot.marker, x, y);
    Timer1->start(drill_->pauseLeft(now));
    showStage();
    if (record::FrameRecorder* recorder = activeFrameRecorder())
        recorder->hitScored();
    Text1->Append(shot.line);
    Sound::PlayEffect(Sound::ShotEffect);
    if (!shot.summary.isEmpty()) {
        parTimer_->stop();
        Text1->Append(shot.summary);
    }
    if (shot.finished)
        keepTimedString(*shot.finished);
}

void Vantorel::keepTimedString(record::TimedString string) {
    string.time = QDateTime::currentDateTime();
    QString error;
    if (!record::appendTimedString(record::historyPath(), string, error))
        historyProblem(error);
}

void Vantorel::drillPauseOver() {
    const TimedDrill::PauseEnd end = drill_->pauseOver();
    if (end.next)
        beginString(*end.next);
    else
        showStage();
    if (end.cue)
        Sound::PlayEffect(effectOf(*end.cue));
}

void Vantorel::showDrillStage() {
    switch (drill_->stage()) {
    case TimedDrill::Stage::NotBegun:
    case TimedDrill::Stage::Stopped:
        stateLamp_->setState(StateLamp::State::Idle);
        break;
    case TimedDrill::Stage::Delay:
    case TimedDrill::Stage::Pausing:
        stateLamp_->setState(StateLamp::State::Wait);
        break;
    case TimedDrill::Stage::Open:
        stateLamp_->setState(StateLamp::State::Ready);
        break;
    case TimedDrill::Stage::Finished:
        stateLamp_->setState(StateLamp::State::Finished);
        break;
    }
}

} // namespace app
