#include "capture/service/ShotTallyView.h"

#include "platform/ShotTally.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace capture {

namespace {

// "just now", "4 s ago", "3 min ago": how long before `now` a thing happened.
QString age(platform::ShotTally::Clock::time_point then,
            platform::ShotTally::Clock::time_point now) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(now - then).count();
    if (seconds < 1)
        return QStringLiteral("just now");
    if (seconds < 120)
        return QStringLiteral("%1 s ago").arg(seconds);
    return QStringLiteral("%1 min ago").arg(seconds / 60);
}

} // namespace

ShotTallyView::ShotTallyView(QWidget* parent)
    : QGroupBox(QStringLiteral("Why a flash did not count"), parent), lastMiss_(new QLabel(this)),
      missCounts_(new QLabel(this)) {
    setObjectName(QStringLiteral("shotTally"));
    lastMiss_->setObjectName(QStringLiteral("lastMiss"));
    lastMiss_->setWordWrap(true);
    missCounts_->setObjectName(QStringLiteral("missCounts"));
    auto* reset = new QPushButton(QStringLiteral("Reset"), this);
    reset->setObjectName(QStringLiteral("resetTally"));
    reset->setAutoDefault(false); // Enter still closes the dialog
    connect(reset, &QPushButton::clicked, this, [this] {
        platform::shotTally().reset();
        refresh();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lastMiss_);
    layout->addWidget(missCounts_);
    layout->addWidget(reset, 0, Qt::AlignRight);

    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &ShotTallyView::refresh);
    timer->start(500);
    refresh();
}

void ShotTallyView::refresh() {
    const platform::ShotTally& tally = platform::shotTally();
    const auto now = platform::ShotTally::Clock::now();
    if (const auto last = tally.last())
        lastMiss_->setText(
            QStringLiteral("Last: %1, %2")
                .arg(platform::ShotTally::describe(*last), age(tally.lastTime(), now)));
    else
        lastMiss_->setText(QStringLiteral("No flash turned away yet"));

    QString counts = QStringLiteral("Shots counted: %1").arg(tally.shots());
    if (tally.shots() > 0)
        counts += QStringLiteral(", the last %1").arg(age(tally.lastShotTime(), now));
    for (std::size_t k = 0; k < platform::MissReasonCount; ++k) {
        const auto reason = static_cast<platform::MissReason>(k);
        counts += QStringLiteral("\n%1: %2")
                      .arg(platform::ShotTally::describe(reason))
                      .arg(tally.countOf(reason));
    }
    missCounts_->setText(counts);
}

} // namespace capture
