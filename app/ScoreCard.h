#pragma once
// The score card box: multi-line, read-only, no scroll bars. The card's text
// keeps its "\r\n" line ends; the box shows the same lines.

#include <QPlainTextEdit>
#include <QString>

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

private:
    QString text_;
};

} // namespace app
