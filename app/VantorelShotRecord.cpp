// The series on the main window: what the series says of hits, "New Game"
// and the ends of its pauses, shown with the hole markers and the score card,
// played as cues and kept in the history.

#include "app/FrameTap.h"
#include "app/HoleMarker.h"
#include "app/ScoreCard.h"
#include "app/StateLamp.h"
#include "app/Vantorel.h"
#include "detection/MotionDetection.h"
#include "platform/MessageBox.h"
#include "platform/ShotTally.h"
#include "platform/Twips.h"
#include "record/FrameRecorder.h"
#include "record/HistoryFile.h"
#include "support/Sound.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <utility>
#include <variant>

namespace app {
namespace {

constexpr float ParkingPlace = 1000.0F; // twips, behind the live picture

} // namespace

std::int32_t Vantorel::effectOf(Cue cue) {
    switch (cue) {
    case Cue::Ready:
        return Sound::ReadyEffect;
    case Cue::Next:
        return Sound::NextEffect;
    case Cue::Finish:
        return Sound::FinishEffect;
    }
    return -1; // no effect
}

void Vantorel::SetHole(std::int32_t x, std::int32_t y, double score) {
    if (ended_)
        return;
    // The format is asked afresh for every hit.
    platform::ShotTally& tally = platform::shotTally();
    if (!MotionDetection::hasAnalysisFormat(captureWnd_)) {
        tally.count(platform::MissReason::WrongFormat);
        return;
    }
    if (drill_) {
        drillHit(x, y, score);
        return;
    }
    const ShotSeries::Clock::time_point now = ShotSeries::Clock::now();
    const ShotSeries::Outcome outcome = series_.hit(now, x, y, score);
    if (const auto* reason = std::get_if<platform::MissReason>(&outcome)) {
        tally.count(*reason);
        return;
    }
    const auto& shot = std::get<ShotSeries::Shot>(outcome);
    tally.countShot();

    placeMarker(shot.number - 1, x, y);

    Timer1->start(series_.pauseLeft(now));
    showStage();

    if (record::FrameRecorder* recorder = activeFrameRecorder())
        recorder->hitScored();

    Text1->Append(shot.line);
    Sound::PlayEffect(Sound::ShotEffect);
    if (!shot.summary.isEmpty())
        Text1->Append(shot.summary);
    if (shot.finished)
        keepSeries(*shot.finished);
}

void Vantorel::placeMarker(int index, std::int32_t x, std::int32_t y) {
    // The camera sees the paper as the shooter does: a dot right of the
    // bull's eye (positive x) belongs right of the centre; y grows upwards.
    HoleMarker* marker = shape2_.at(static_cast<std::size_t>(index));
    marker->setLeft(static_cast<float>((static_cast<double>(targetCentreX_) + x) -
                                       static_cast<double>(marker->Width()) / 2));
    marker->setTop(static_cast<float>((static_cast<double>(targetCentreY_) - y) -
                                      static_cast<double>(marker->Height()) / 2));
}

void Vantorel::keepSeries(const record::Series& series) {
    QString error;
    if (!record::appendSeries(record::historyPath(), series, error))
        historyProblem(error);
}

void Vantorel::historyProblem(const QString& error) {
    // The game goes on; the shooter is told once, as for the settings, and
    // the terminal hears of every series lost.
    std::fprintf(stderr, "vantorel: this series is not kept in the history: %s\n",
                 qPrintable(error));
    if (std::exchange(historyProblemShown_, true))
        return;
    // After the frame routine that made the hit has returned: a message box
    // inside it would run the next frames through it before it ends.
    QTimer::singleShot(0, this, [error] {
        platform::MessageRequest request;
        request.text = QStringLiteral("This series cannot be kept in the history: %1.").arg(error);
        platform::showMessage(request);
    });
}

float Vantorel::TargetHeight() const {
    return static_cast<float>(platform::pixelsToTwips(Image1->height()));
}

void Vantorel::Command1_Click() {
    if (ended_)
        return;
    NewGame();
}

void Vantorel::NewGame() {
    if (drill_) {
        newDrillGame();
        return;
    }
    const ShotSeries::Clock::time_point now = ShotSeries::Clock::now();
    series_.newGame(now);
    // Pressed during a pause, the pause starts anew.
    Timer1->start(series_.pauseLeft(now));
    clearTarget();
    showStage();
}

void Vantorel::clearTarget() {
    for (HoleMarker* marker : shape2_) {
        marker->setLeft(ParkingPlace);
        marker->setTop(ParkingPlace);
    }
    Text1->SetText(QString());
}

void Vantorel::showStage() {
    if (drill_) {
        showDrillStage();
        return;
    }
    switch (series_.stage()) {
    case ShotSeries::Stage::NotBegun:
        stateLamp_->setState(StateLamp::State::Idle);
        break;
    case ShotSeries::Stage::Pausing:
        stateLamp_->setState(StateLamp::State::Wait);
        break;
    case ShotSeries::Stage::Ready:
        stateLamp_->setState(StateLamp::State::Ready);
        break;
    case ShotSeries::Stage::Complete:
        stateLamp_->setState(StateLamp::State::Finished);
        break;
    }
}

void Vantorel::Timer1_Timer() {
    if (ended_)
        return;
    Timer1->stop();
    if (drill_) {
        drillPauseOver();
        return;
    }
    const std::optional<Cue> cue = series_.pauseOver();
    showStage();
    if (cue)
        Sound::PlayEffect(effectOf(*cue));
}

void Vantorel::Text1_GotFocus() {
    if (ended_)
        return;
    Command1->setFocus();
}

} // namespace app
