#include "tools/history/HistoryPlot.h"

#include "platform/NativeWrites.h"
#include "tools/history/HistoryStatistics.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

namespace history {

namespace {

constexpr int PlotWidth = 960;
constexpr int PlotHeight = 500;
constexpr int TimesHeight = 300;       // added below for timed strings
constexpr double TwipsPerPixel = 15.0; // the target picture: 6000 twips, 400 pixels
constexpr double HoleDiameter = 10.0;  // as the main window's markers
// A miss's cross: its half width, and its colour (the mean point's is redder).
constexpr double MissMarkTwips = 90.0;
const QColor MissColour(200, 110, 0);
const QRectF TotalsPanel(60, 50, 420, 380);
const QRectF TargetPanel(530, 50, 400, 400);

// The line through count points, pointAt(i) the i-th.
template <typename PointAt> QPainterPath polyline(std::size_t count, PointAt pointAt) {
    QPainterPath line;
    for (std::size_t i = 0; i < count; ++i) {
        if (i == 0)
            line.moveTo(pointAt(i));
        else
            line.lineTo(pointAt(i));
    }
    return line;
}

void drawTotals(QPainter& painter, const std::vector<record::Series>& series) {
    const int lowest =
        series.empty()
            ? 0
            : std::min_element(series.begin(), series.end(), [](const auto& a, const auto& b) {
                  return a.total < b.total;
              })->total;
    // From ten below the lowest total, rounded down to ten, to 100; never
    // below the lowest total a series can have, so the grid stays a few lines.
    const int lowestTotal = record::LowestResult * record::Series::Shots;
    const int bottom =
        std::clamp(static_cast<int>(std::floor(lowest / 10.0)) * 10 - 10, lowestTotal - 10, 80);
    const auto yOf = [&](double total) {
        return TotalsPanel.bottom() - (total - bottom) / (100 - bottom) * TotalsPanel.height();
    };
    const auto n = static_cast<double>(series.size());
    const auto xOf = [&](std::size_t i) {
        return TotalsPanel.left() + (static_cast<double>(i) + 0.5) / n * TotalsPanel.width();
    };

    painter.setPen(QPen(QColor(220, 220, 220), 1));
    for (int total = bottom; total <= 100; total += 10)
        painter.drawLine(QPointF(TotalsPanel.left(), yOf(total)),
                         QPointF(TotalsPanel.right(), yOf(total)));
    painter.setPen(Qt::black);
    painter.drawRect(TotalsPanel);
    for (int total = bottom; total <= 100; total += 10)
        painter.drawText(QRectF(TotalsPanel.left() - 50, yOf(total) - 10, 44, 20),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(total));
    painter.drawText(QRectF(TotalsPanel.left(), 10, TotalsPanel.width(), 30), Qt::AlignCenter,
                     series.empty() ? QStringLiteral("No series of ten shots")
                                    : QStringLiteral("Totals of %1 series").arg(series.size()));
    if (series.empty())
        return;
    const QRectF under(TotalsPanel.left(), TotalsPanel.bottom() + 6, TotalsPanel.width(), 20);
    painter.drawText(under, Qt::AlignLeft,
                     series.front().time.toString(QStringLiteral("yyyy-MM-dd")));
    painter.drawText(under, Qt::AlignRight,
                     series.back().time.toString(QStringLiteral("yyyy-MM-dd")));

    const Totals totals = totalsOf(series);
    painter.setPen(QPen(QColor(200, 40, 40), 1.5, Qt::DashLine));
    painter.drawLine(QPointF(TotalsPanel.left(), yOf(totals.meanAll)),
                     QPointF(TotalsPanel.right(), yOf(totals.meanAll)));
    painter.drawText(QRectF(TotalsPanel.left() + 6, yOf(totals.meanAll) - 22, 200, 20),
                     Qt::AlignLeft | Qt::AlignBottom,
                     QStringLiteral("mean %1").arg(totals.meanAll, 0, 'f', 1));

    const QPainterPath line = polyline(
        series.size(), [&](std::size_t i) { return QPointF(xOf(i), yOf(series[i].total)); });
    painter.setPen(QPen(QColor(30, 60, 160), 1.5));
    painter.drawPath(line);
    painter.setBrush(QColor(30, 60, 160));
    const double dot = series.size() > 60 ? 2.0 : 3.5;
    for (std::size_t i = 0; i < series.size(); ++i)
        painter.drawEllipse(QPointF(xOf(i), yOf(series[i].total)), dot, dot);
}

void drawTarget(QPainter& painter, const std::vector<record::Series>& series) {
    painter.drawImage(TargetPanel, QImage(QStringLiteral(":/pictures/target.png")));
    const Group group = groupOf(series);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    const QString caption =
        group.misses == 0
            ? QStringLiteral("%1 holes, + the mean point of impact").arg(group.holes)
            : QStringLiteral("%1 holes, %2 misses (x on the edge), + the mean point of impact")
                  .arg(group.holes)
                  .arg(group.misses);
    painter.drawText(QRectF(TargetPanel.left() - 20, 10, TargetPanel.width() + 40, 30),
                     Qt::AlignCenter, caption);

    const QPointF centre = TargetPanel.center();
    const auto placeOf = [&](const Hole& hole) {
        return centre + QPointF(hole.right / TwipsPerPixel, -hole.up / TwipsPerPixel);
    };
    // Whatever a line claims, nothing is drawn beside the target, over the totals.
    painter.setClipRect(TargetPanel);
    painter.setPen(Qt::NoPen);
    // Many holes on top of each other darken the middle of the group.
    painter.setBrush(QColor(0, 0, 0, series.size() > 10 ? 110 : 200));
    std::vector<Hole> misses;
    for (const record::Series& one : series) {
        for (const record::Shot& shot : one.shots) {
            if (record::isMiss(shot))
                misses.push_back(holeOf(shot));
            else
                painter.drawEllipse(placeOf(holeOf(shot)), HoleDiameter / 2, HoleDiameter / 2);
        }
    }
    // A miss is a cross just inside the edge, the way it went: where the
    // camera saw it would be off the picture or over the totals.
    painter.setPen(QPen(MissColour, 2.5));
    const double inside = (TargetRadius - MissMarkTwips) / TargetRadius;
    const double arm = MissMarkTwips / TwipsPerPixel;
    for (const Hole& miss : misses) {
        const Hole edge = edgeOf(miss);
        const QPointF mark = placeOf({edge.right * inside, edge.up * inside});
        painter.drawLine(mark - QPointF(arm, arm), mark + QPointF(arm, arm));
        painter.drawLine(mark - QPointF(arm, -arm), mark + QPointF(arm, -arm));
    }
    if (group.holes > 0) {
        const QPointF mean = placeOf({group.right, group.up});
        painter.setPen(QPen(QColor(230, 30, 30), 3));
        painter.drawLine(mean - QPointF(10, 0), mean + QPointF(10, 0));
        painter.drawLine(mean - QPointF(0, 10), mean + QPointF(0, 10));
    }
    painter.setClipping(false);
}

// Each string's shots at their times from the beep, a late one in red, and
// the strings' times joined by a line.
void drawTimes(QPainter& painter, const std::vector<record::TimedString>& strings) {
    const QRectF panel(60, PlotHeight + 40, PlotWidth - 90, TimesHeight - 80);
    double longest = 1.0;
    for (const record::TimedString& string : strings)
        longest = std::max(longest, string.elapsed());
    // A scale of 1, 2 or 5 times a power of ten, some five lines high.
    const double raw = longest / 5.0;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double step = raw <= power ? power : raw <= 2 * power ? 2 * power : 5 * power;
    const double top = std::ceil(longest / step) * step;
    const auto yOf = [&](double seconds) {
        return panel.bottom() - seconds / top * panel.height();
    };
    const auto n = static_cast<double>(strings.size());
    const auto xOf = [&](std::size_t i) {
        return panel.left() + (static_cast<double>(i) + 0.5) / n * panel.width();
    };
    painter.setPen(QPen(QColor(220, 220, 220), 1));
    for (double seconds = 0; seconds <= top + step / 2; seconds += step)
        painter.drawLine(QPointF(panel.left(), yOf(seconds)), QPointF(panel.right(), yOf(seconds)));
    painter.setPen(Qt::black);
    painter.drawRect(panel);
    for (double seconds = 0; seconds <= top + step / 2; seconds += step)
        painter.drawText(QRectF(panel.left() - 55, yOf(seconds) - 10, 49, 20),
                         Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1 s").arg(seconds));
    painter.drawText(
        QRectF(panel.left(), PlotHeight + 5, panel.width(), 30), Qt::AlignCenter,
        QStringLiteral("Shot times of %1 timed strings, from the start beep (late: red)")
            .arg(strings.size()));
    const QPainterPath line = polyline(
        strings.size(), [&](std::size_t i) { return QPointF(xOf(i), yOf(strings[i].elapsed())); });
    painter.setPen(QPen(QColor(30, 60, 160), 1.5));
    painter.drawPath(line);
    painter.setPen(Qt::NoPen);
    const double dot = strings.size() > 60 ? 2.0 : 3.5;
    for (std::size_t i = 0; i < strings.size(); ++i) {
        for (std::size_t k = 0; k < strings[i].times.size(); ++k) {
            painter.setBrush(strings[i].late(k) ? QColor(210, 30, 30) : QColor(30, 60, 160));
            painter.drawEllipse(QPointF(xOf(i), yOf(strings[i].times[k])), dot, dot);
        }
    }
}

void draw(QPainter& painter, const std::vector<record::Series>& series,
          const std::vector<record::TimedString>& strings, int height) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(0, 0, PlotWidth, height), Qt::white);
    drawTotals(painter, series);
    drawTarget(painter, series);
    if (!strings.empty())
        drawTimes(painter, strings);
}

} // namespace

bool writePlot(const QByteArray& path, const std::vector<record::Series>& series,
               const std::vector<record::TimedString>& strings, QString& error) {
    const int height = strings.empty() ? PlotHeight : PlotHeight + TimesHeight;
    // Drawn whole in memory, then put in place in one step: a plot that
    // cannot be finished (a full disk) leaves the last one as it was, and the
    // file is always a regular file, never a FIFO that would wait for a reader.
    QByteArray picture;
    QBuffer buffer(&picture);
    buffer.open(QIODevice::WriteOnly);
    if (QFile::decodeName(path).endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(QSize(PlotWidth, height));
        svg.setViewBox(QRect(0, 0, PlotWidth, height));
        svg.setTitle(QStringLiteral("Vantorel history"));
        QPainter painter(&svg);
        draw(painter, series, strings, height);
    } else {
        QImage image(PlotWidth, height, QImage::Format_RGB32);
        {
            QPainter painter(&image);
            draw(painter, series, strings, height);
        }
        image.save(&buffer, "PNG");
    }
    QString reason;
    if (!platform::replaceFile(path, picture, reason)) {
        error = QStringLiteral("cannot write %1: %2").arg(QFile::decodeName(path), reason);
        return false;
    }
    return true;
}

} // namespace history
