#pragma once
// The score card box: multi-line, read-only, no scroll bars. The card's text
// keeps its "\r\n" line ends; the box shows the same lines, in a smaller
// font when the widest of them (a timed drill's) would not fit in the font
// it was given, down to 70 % of it; a line wider still wraps.

#include <QFont>
#include <QPlainTextEdit>
#include <QString>
#include <optional>

namespace app {

class ScoreCard : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ScoreCard(QWidget* parent);

    // The card as written, with "\r\n" after every line.
    const QString& Text() const { return text_; }
    void SetText(const QString& text);
    void Append(const QString& text) { SetText(text_ + text); }

signals:
    void GotFocus();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The font given, or a smaller one that shows the widest line whole.
    void fitLines();

    QString text_;
    std::optional<QFont> given_; // the font set from outside
    bool fitting_ = false;
};

} // namespace app
