// The record of one series of ten shots: hits, hole markers, score card,
// the pause after every shot and the cues that end it.

#include "app/FrameTap.h"
#include "app/HoleMarker.h"
#include "app/NumberFormat.h"
#include "app/ScoreCard.h"
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
#include <cmath>
#include <cstdio>
#include <utility>

namespace app {
namespace {

constexpr std::int16_t True = -1;
constexpr std::int16_t False = 0;
constexpr float ParkingPlace = 1000.0F; // twips, behind the live picture

// Why a series that is not ready turns a hit away, as the shooter should hear it.
platform::MissReason whyNotReady(std::int16_t shotCount, bool pausing) {
    if (shotCount >= Vantorel::Markers)
        return platform::MissReason::SeriesFinished;
    return pausing ? platform::MissReason::DuringPause : platform::MissReason::BeforeNewGame;
}

} // namespace

void Vantorel::SetHole(std::int32_t x, std::int32_t y, double score) {
    if (ended_)
        return;
    // The format is asked afresh for every hit.
    platform::ShotTally& tally = platform::shotTally();
    if (!MotionDetection::HasAnalysisFormat(captureWnd_)) {
        tally.count(platform::MissReason::WrongFormat);
        return;
    }
    if (readyToShoot_ == False || shotCount_ >= Markers) {
        tally.count(whyNotReady(shotCount_, Timer1->isActive()));
        return;
    }
    if (!std::isfinite(score)) { // NaN or infinite: no place on the target
        tally.count(platform::MissReason::BeyondTarget);
        return;
    }
    tally.countShot();

    // The camera sees the paper as the shooter does: a dot right of the
    // bull's eye (positive x) belongs right of the centre; y grows upwards.
    HoleMarker* marker = shape2_[shotCount_];
    marker->SetLeft(static_cast<float>((static_cast<double>(targetCentreX_) + x) -
                                       static_cast<double>(marker->Width()) / 2));
    marker->SetTop(static_cast<float>((static_cast<double>(targetCentreY_) - y) -
                                      static_cast<double>(marker->Height()) / 2));

    readyToShoot_ = False;
    Timer1->start(rearmDelay_);

    if (record::FrameRecorder* recorder = ActiveFrameRecorder())
        recorder->HitScored();

    const std::int32_t s = MotionDetection::ShotScore(score);
    series_.shots[static_cast<std::size_t>(shotCount_)] = {s, score, x, y};
    Text1->Append(QStringLiteral("Shot ") + FormatNumber(shotCount_ + 1, 2) +
                  QStringLiteral(" Result Is ") + FormatNumber(s, 2) + QStringLiteral("\r\n"));
    Sound::PlayEffect(Sound::ShotEffect);
    totalScore_ += s;
    if (shotCount_ == Markers - 1)
        Text1->Append(QStringLiteral("Summary ") + FormatNumber(totalScore_, 3) +
                      QStringLiteral(" From ") + QString::number(100) + QStringLiteral("\r\n"));
    ++shotCount_;
    if (shotCount_ == Markers)
        KeepSeries();
}

void Vantorel::KeepSeries() {
    // Local time, written with its offset from UTC.
    series_.time = QDateTime::currentDateTime();
    series_.total = totalScore_;
    QString error;
    if (record::AppendSeries(record::HistoryPath(), series_, error))
        return;
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
    readyToShoot_ = False;
    // Pressed during a pause, the pause starts anew.
    Timer1->start(rearmDelay_);
    for (HoleMarker* marker : shape2_) {
        marker->SetLeft(ParkingPlace);
        marker->SetTop(ParkingPlace);
    }
    shotCount_ = 0;
    totalScore_ = 0;
    Text1->SetText(QString());
}

void Vantorel::Timer1_Timer() {
    if (ended_)
        return;
    Timer1->stop();
    readyToShoot_ = True;
    if (shotCount_ == 0)
        Sound::PlayEffect(Sound::ReadyEffect);
    else if (shotCount_ < Markers)
        Sound::PlayEffect(Sound::NextEffect);
    else
        Sound::PlayEffect(Sound::FinishEffect);
}

void Vantorel::Text1_GotFocus() {
    if (ended_)
        return;
    Command1->setFocus();
}

} // namespace app
