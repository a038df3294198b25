#pragma once
// The series' state beside "New Game", for a shooter who cannot hear the
// cues: a lamp (green when a shot counts, amber during a pause, red after a
// timed drill's flash before its beep, dark otherwise) and a word for it.

#include <QString>
#include <QWidget>

namespace app {

class StateLamp : public QWidget {
    Q_OBJECT
public:
    enum class State { Idle, Wait, Ready, Finished, Early };

    explicit StateLamp(QWidget* parent);

    void setState(State state);
    State state() const { return state_; }
    // The word the lamp shows: "New Game?", "Wait", "Ready", "Finished" or "Early".
    QString caption() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    State state_ = State::Idle;
};

} // namespace app
