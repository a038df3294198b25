#include "app/ScoreCard.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>

namespace app {
namespace {
// Smaller than this the card is hard to read from the firing point.
constexpr qreal SmallestScale = 0.7;
} // namespace

ScoreCard::ScoreCard(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The designed lines fit; a timed drill's longer ones wrap at a word
    // where even the smaller font cannot show them whole.
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WordWrap);
    setUndoRedoEnabled(false);
    setFocusPolicy(Qt::StrongFocus);
}

void ScoreCard::SetText(const QString& text) {
    text_ = text;
    // The box itself keeps "\n" line ends.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(shown);
    fitLines();
}

void ScoreCard::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange && !fitting_) {
        given_ = font();
        fitLines();
    }
}

void ScoreCard::fitLines() {
    if (!given_)
        given_ = font();
    const QFontMetricsF metrics(*given_);
    qreal widest = 0;
    for (const QString& line : text_.split(QStringLiteral("\r\n")))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    // Inside the frame, the document's margins and the cursor's width.
    const qreal room = contentsRect().width() - 2 * document()->documentMargin() - 2;
    QFont shown = *given_;
    if (widest > room && room > 0 && given_->pointSizeF() > 0)
        shown.setPointSizeF(given_->pointSizeF() * std::max(SmallestScale, room / widest));
    if (shown == font())
        return;
    fitting_ = true;
    setFont(shown);
    fitting_ = false;
}

void ScoreCard::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    emit GotFocus();
}

} // namespace app
