// Renders the replay tool's sample: a dim ring target in a dark room seen by
// a 160 x 120 camera, with a laser dot flashing at two places and dark
// frames around each flash.
//
//   vantorel-make-sample <output folder>

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QString>
#include <cstdio>
#include <optional>

namespace {

constexpr int width = 160;
constexpr int height = 120;

QImage scene(std::optional<QPointF> dot) {
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(QColor(22, 22, 26));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Ten rings filling the picture's height, faint on the dark paper.
    painter.setPen(QColor(38, 38, 42));
    const QPointF centre(width / 2.0, height / 2.0);
    for (int ring = 1; ring <= 10; ++ring) {
        const double radius = ring * (height / 2.0) / 10.0;
        painter.drawEllipse(centre, radius, radius);
    }
    if (dot) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 40, 40));
        painter.drawEllipse(*dot, 5.0, 5.0);
    }
    return image;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantorel-make-sample <output folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    // Picture points, origin top left: one up and right of the centre, one
    // down and left of it.
    const std::optional<QPointF> frames[] = {
        std::nullopt, std::nullopt,    QPointF(100, 45), std::nullopt,
        std::nullopt, QPointF(50, 85), std::nullopt,
    };
    int index = 0;
    for (const auto& dot : frames) {
        const QString path =
            QStringLiteral("%1/frame%2.png").arg(folder).arg(index++, 2, 10, QLatin1Char('0'));
        if (!scene(dot).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
