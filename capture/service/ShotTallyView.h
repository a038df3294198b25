#pragma once
// The part of a camera's source dialog that tells why flashes did not
// count: the last reason and how long ago, the counted shots, a count per
// reason, and "Reset". It reads the program's shot tally afresh twice a
// second, as the dialogs read their other figures.

#include <QGroupBox>

class QLabel;

namespace capture {

// objectName "shotTally"; children "lastMiss", "missCounts", "resetTally".
class ShotTallyView : public QGroupBox {
    Q_OBJECT
public:
    explicit ShotTallyView(QWidget* parent = nullptr);

    // Reads the tally again.
    void refresh();

private:
    QLabel* lastMiss_;
    QLabel* missCounts_;
};

} // namespace capture
