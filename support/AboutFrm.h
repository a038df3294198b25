#pragma once
// The about box: the pistol picture, the program's name and version in red,
// the credit line, a link to the makers' web site and "Close". Closing it,
// by the button or the title bar, only hides it; the next "About" shows the
// same box again.

#include <QDialog>

class QLabel;
class QPushButton;

class AboutFrm : public QDialog {
    Q_OBJECT
public:
    explicit AboutFrm(QWidget* parent = nullptr);

    void Label1_Click();
    void Command1_Click();

    // How often Form_Load has run for this box (once, when it was created).
    int FormLoadCount() const { return formLoads_; }

    QLabel* Image1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Command1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();

    int formLoads_ = 0;
    bool placed_ = false;
};
