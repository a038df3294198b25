#include "app/ScoreCard.h"

namespace app {

ScoreCard::ScoreCard(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setUndoRedoEnabled(false);
    setFocusPolicy(Qt::StrongFocus);
}

void ScoreCard::SetText(const QString& text) {
    text_ = text;
    // The box itself keeps "\n" line ends.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(shown);
}

void ScoreCard::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    emit GotFocus();
}

} // namespace app
