#pragma once
// The main window: the live picture, the target with its ten hole markers,
// the score card and the "New Game" button, the menus, start-up and the end
// of the program. One window per program run.

#include "app/series/ShotSeries.h"
#include "app/series/TimedDrill.h"
#include "capture/CaptureRecords.h"
#include "capture/ConnectionFunctions.h"
#include "detection/HitTarget.h"

#include <QMainWindow>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class SettingsFrm;
class AboutFrm;

namespace app {

class FullScreenView;
class HoleMarker;
class ScoreCard;
class StateLamp;

class Vantorel : public QMainWindow, public MotionDetection::HitTarget {
    Q_OBJECT
public:
    static constexpr int Markers = 10;
    static constexpr int Devices = ConnectionFunctions::DriverIndexes;

    explicit Vantorel(QWidget* parent = nullptr);
    ~Vantorel() override;
    Vantorel(const Vantorel&) = delete;
    Vantorel& operator=(const Vantorel&) = delete;

    // Start-up, before the window is first shown. With no capture driver, or
    // a driver that cannot be connected, the program ends in here.
    void Form_Load();

    // A hit from the frame analysis: offset from the target centre in twips
    // and the raw score.
    void SetHole(std::int32_t x, std::int32_t y, double score) override;
    float TargetHeight() const override;

    // The designed window as large as the screen allows (Options > Full
    // Screen, F11; F11 or Esc leaves it), or as designed again. The user's
    // choice is kept with the settings and returns at the next start.
    void setFullScreenView(bool on);
    // The view while the window is full screen, else none.
    FullScreenView* fullScreenView() const { return view_; }
    // The designed client area with the controls: the central widget, or in
    // full screen the view's.
    QWidget* clientArea() const { return client_; }

    // Unloads the window, which ends the program.
    void ExitProgram();
    // Connects the capture window to a driver and insists on its format.
    void ConnectDevice(std::int16_t index);

    // Event handlers, named after their control and event.
    void Command1_Click();
    void Timer1_Timer();
    void Text1_GotFocus();
    void ex_Click();
    void frt_Click();
    void src_Click();
    void stt_Click();
    void dev_Click(std::int16_t index);
    void hlp_Click();
    void abt_Click();
    // Options > Enhanced Detection: switches the mode and keeps it.
    void enhancedToggled(bool on);
    // Drill > Standard Series: the ten-shot game, as the program starts.
    void standardSeriesChosen();
    // Drill > Timed Series...: the dialog, and on OK its drill, kept with
    // the settings, for "New Game" to start.
    void timedSeriesChosen();
    // Drill > Stop Drill: the string being shot is dropped.
    void stopDrill();
    // The timed drill's timers: the delay before the start beep, the par time.
    void delayTimer_Timer();
    void parTimer_Timer();

    // What the window holds, for the simulated range and the tests.
    // -1 (true) while a hit would count, else 0.
    std::int16_t ReadyToShoot() const { return series_.readyToShoot() ? -1 : 0; }
    std::int16_t ShotCount() const { return series_.shotCount(); }
    capture::CaptureHandle CaptureWnd() const { return captureWnd_; }
    // The score card as written, "\r\n" after every line.
    const QString& ScoreCardText() const;
    // The re-arm timer's interval: 0 while it is stopped.
    int Timer1Interval() const;
    // The timed drill, null in the Standard series.
    const TimedDrill* timedDrill() const { return drill_ ? &*drill_ : nullptr; }
    // The drill's delay and par timers' intervals: 0 while stopped.
    int delayInterval() const;
    int parInterval() const;
    HoleMarker* Shape2(int index) const { return shape2_.at(index); }
    // The settings dialog and the about box, once created.
    SettingsFrm* SettingsForm() const { return settings_.get(); }
    AboutFrm* AboutForm() const { return about_.get(); }
    // True once the window has been unloaded: from then on it ignores every event.
    bool Ended() const { return ended_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void InitWindow();
    void NewGame();
    // Shows the series' stage on the lamp beside "New Game".
    void showStage();
    // Appends a finished series, or a timed string, to the history file.
    void keepSeries(const record::Series& series);
    void keepTimedString(record::TimedString string);
    void historyProblem(const QString& error);
    // The timed drill's side of "New Game", hits and the end of a pause.
    void newDrillGame();
    void beginString(const TimedDrill::StringStart& start);
    void drillHit(std::int32_t x, std::int32_t y, double score);
    void drillPauseOver();
    void showDrillStage();
    // Back to a clean card and parked markers, the drill's timers stopped.
    void clearTarget();
    void stopDrillTimers();
    void buildDrillMenu();
    // Moves hole marker index to the hit at (x, y) twips from the centre.
    void placeMarker(int index, std::int32_t x, std::int32_t y);
    // The clip of a cue.
    static std::int32_t effectOf(Cue cue);
    void Form_Unload();
    SettingsFrm& Settings();
    void applyRunTimeFonts();
    void reconnectAfterDialog();
    void loadStoredParameters();
    void buildFullScreenItem();
    void restoreView();
    void takeTheScreen();

    // Controls, named as designed.
    QLabel* Image1 = nullptr;
    ScoreCard* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    StateLamp* stateLamp_ = nullptr; // the series' state, for the eye
    QTimer* Timer1 = nullptr;
    std::array<HoleMarker*, Markers> shape2_{};

    // Menus and their items.
    QMenu* fl = nullptr;
    QAction* ex = nullptr;
    QMenu* opt = nullptr;
    QAction* frt = nullptr;
    QAction* src = nullptr;
    QAction* stt = nullptr;
    QAction* enhancedItem_ = nullptr;
    std::array<QAction*, Devices> dev{};
    QMenu* hl = nullptr;
    QAction* hlp = nullptr;
    QAction* abt = nullptr;
    QAction* fullScreenItem_ = nullptr;
    QMenu* drl = nullptr;
    QAction* standardItem_ = nullptr;
    QAction* timedItem_ = nullptr;
    QAction* stopItem_ = nullptr;

    // The designed client area, and the view that shows it enlarged.
    QWidget* client_ = nullptr;
    FullScreenView* view_ = nullptr;
    QRect normalPlace_; // where the window stood before full screen

    // The series: ten shots, one for each hole marker, and the re-arm delay
    // of 1500 ms after "New Game" and after every shot.
    ShotSeries series_{{.shots = Markers, .pause = std::chrono::milliseconds(1500)}};
    // The timed drill, when one is chosen instead, with its delay and par
    // timers; its pauses run on Timer1.
    std::optional<TimedDrill> drill_;
    QTimer* delayTimer_ = nullptr;
    QTimer* parTimer_ = nullptr;
    std::int32_t targetCentreX_ = 0;
    std::int32_t targetCentreY_ = 0;

    // Capture.
    std::int32_t deviceCount_ = 0;
    ConnectionFunctions::CaptureDeviceList devices_;
    capture::CaptureHandle captureWnd_ = 0;

    // The settings dialog and the about box live as long as the program's
    // one main window; they are created on first use.
    std::unique_ptr<SettingsFrm> settings_;
    std::unique_ptr<AboutFrm> about_;

    bool ended_ = false;
    int exitStatus_ = 0; // the program's, when it ends
    bool settingsProblemShown_ = false;
    bool historyProblemShown_ = false;
};

} // namespace app
