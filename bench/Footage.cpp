// vantorel-footage: the shots found in a folder of camera videos against the
// positions listed in its shots.csv, per clip and in total, counted as the
// game counts (a hit, then the pause) and as a detector (every flash once:
// the standard analysis's hits within the pause at one place taken as one,
// the enhanced detection's as it reports them), for the standard and the
// enhanced detection side by side (or the one that --detection names).
//
//     vantorel-footage [--sample-every N] [--compare-every S] [--tolerance T]
//                      [--max-beam M] [--detection standard|enhanced]
//                      [--noise D] FOLDER
//
// --noise D adds sensor noise with a deviation of D levels to the camera's
// full picture, which only the enhanced detection reads: how much worse a
// camera can be before shots are lost.
//
// shots.csv: "clip,kind,x,y" with kind required (a shot a good detector
// finds), optional (neither a miss nor a false hit when found) or none (the
// clip has no shot), x and y in the video's pixels. A hit matches a shot
// within 6 analysis pixels; each shot matches one hit at most.

#include "tools/replay/FrameSource.h"
#include "tools/replay/ReplayOptions.h"
#include "tools/replay/ReplaySession.h"
#include "tools/replay/ShotCounting.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineF>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace {

constexpr double MatchRadius = 6; // analysis pixels

struct Expected {
    QPointF point; // video pixels
    bool required = true;
};

struct Clip {
    std::vector<Expected> shots;
};

struct Tally {
    int required = 0;
    int found = 0;
    int falseHits = 0;
    std::vector<double> distances; // video pixels, of the found required shots
};

bool readShots(const QString& file, std::map<QString, Clip>& clips, QString& error) {
    QFile csv(file);
    if (!csv.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = QStringLiteral("cannot read %1: %2").arg(file, csv.errorString());
        return false;
    }
    QTextStream in(&csv);
    for (int line = 1; !in.atEnd(); ++line) {
        const QStringList fields = in.readLine().trimmed().split(',');
        if (line == 1 && fields.value(0) == QLatin1String("clip"))
            continue;
        if (fields.size() == 1 && fields[0].isEmpty())
            continue;
        bool xOk = false;
        bool yOk = false;
        const QString kind = fields.value(1);
        Clip& clip = clips[fields.value(0)];
        if (kind == QLatin1String("none"))
            continue;
        const double x = fields.value(2).toDouble(&xOk);
        const double y = fields.value(3).toDouble(&yOk);
        if (fields.size() != 4 || !xOk || !yOk ||
            (kind != QLatin1String("required") && kind != QLatin1String("optional"))) {
            error = QStringLiteral("%1, line %2: not clip,kind,x,y").arg(file).arg(line);
            return false;
        }
        clip.shots.push_back({{x, y}, kind == QLatin1String("required")});
    }
    return true;
}

// Positions listed for a video larger than 640 x 480 that all lie within
// 640 x 480 were taken on the picture scaled to that size (as some trainers
// work), not on the video's own pixels: scaled back, with a note.
QSize positionFrame(const Clip& clip, QSize cameraSize, const QString& name, QString& notes) {
    const QSize small(640, 480);
    if (cameraSize.width() <= small.width() || clip.shots.empty() ||
        !std::all_of(clip.shots.begin(), clip.shots.end(), [&](const Expected& shot) {
            return shot.point.x() < small.width() && shot.point.y() < small.height();
        }))
        return cameraSize;
    notes += QStringLiteral("%1: %2 x %3, its positions all within 640 x 480: read as "
                            "positions on the picture scaled to 640 x 480.\n")
                 .arg(name)
                 .arg(cameraSize.width())
                 .arg(cameraSize.height());
    return small;
}

// Matches the shots found against the expected ones, in the order found.
Tally score(const std::vector<replay::TimedHit>& shots, const Clip& clip, QSize cameraSize,
            QSize positionSize) {
    Tally tally;
    tally.required = static_cast<int>(
        std::count_if(clip.shots.begin(), clip.shots.end(), [](auto& s) { return s.required; }));
    const double radius = MatchRadius * replay::cameraScale(positionSize);
    std::vector<bool> taken(clip.shots.size(), false);
    for (const replay::TimedHit& shot : shots) {
        QPointF at = replay::cameraPoint(shot.point, cameraSize);
        at = QPointF(at.x() * positionSize.width() / cameraSize.width(),
                     at.y() * positionSize.height() / cameraSize.height());
        // The nearest required shot in reach; an optional one (which may or
        // may not count) only when no required one is.
        std::size_t best = clip.shots.size();
        double bestDistance = radius;
        for (const bool required : {true, false}) {
            for (std::size_t i = 0; i < clip.shots.size(); ++i) {
                const double distance = QLineF(at, clip.shots[i].point).length();
                if (!taken[i] && clip.shots[i].required == required && distance <= bestDistance) {
                    best = i;
                    bestDistance = distance;
                }
            }
            if (best != clip.shots.size())
                break;
        }
        if (best == clip.shots.size()) {
            ++tally.falseHits;
            continue;
        }
        taken[best] = true;
        if (clip.shots[best].required) {
            ++tally.found;
            tally.distances.push_back(bestDistance);
        }
    }
    return tally;
}

QString median(std::vector<double> values) {
    if (values.empty())
        return QStringLiteral("-");
    std::sort(values.begin(), values.end());
    const std::size_t half = values.size() / 2;
    const double middle =
        values.size() % 2 == 1 ? values[half] : (values[half - 1] + values[half]) / 2;
    return QString::number(middle, 'f', 1);
}

void add(Tally& total, const Tally& one) {
    total.required += one.required;
    total.found += one.found;
    total.falseHits += one.falseHits;
    total.distances.insert(total.distances.end(), one.distances.begin(), one.distances.end());
}

QString row(const QString& name, const Tally& game, const Tally& detector) {
    return QStringLiteral("%1 %2 %3 %4 %5   %6 %7 %8\n")
        .arg(name.left(44), -44)
        .arg(game.required, 8)
        .arg(game.found, 6)
        .arg(game.falseHits, 6)
        .arg(median(game.distances), 7)
        .arg(detector.found, 6)
        .arg(detector.falseHits, 6)
        .arg(median(detector.distances), 7);
}

// Sensor noise on a full picture's levels: near normal (the sum of four
// even draws), the same on every run, in storage of its own.
class SensorNoise {
public:
    explicit SensorNoise(double deviation) : deviation_(deviation) {}

    capture::FullFrame apply(const capture::FullFrame& picture) {
        capture::FullFrame noisy = picture;
        if (picture.empty() || deviation_ <= 0)
            return noisy;
        // Luma, or in RGB each of red, green and blue by the same amount.
        const std::size_t planes = picture.colours == capture::FullFrameColours::Rgb ? 3 : 1;
        const auto pixels =
            static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
        samples_.resize(pixels * planes);
        for (std::int32_t y = 0; y < picture.height; ++y) {
            for (std::int32_t x = 0; x < picture.width; ++x) {
                const double change = draw();
                const std::size_t at =
                    static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) +
                    static_cast<std::size_t>(x);
                for (std::size_t p = 0; p < planes; ++p) {
                    const capture::FullFramePlane& from = picture.planes[p];
                    const int level =
                        from.data[y * from.rowStep + std::ptrdiff_t{x} * from.sampleStep];
                    samples_[p * pixels + at] =
                        static_cast<std::uint8_t>(std::clamp(level + change + 0.5, 0.0, 255.0));
                }
            }
        }
        for (std::size_t p = 0; p < planes; ++p)
            noisy.planes[p] = {samples_.data() + p * pixels, picture.width, 1};
        return noisy;
    }

private:
    double draw() {
        double sum = 0;
        for (int k = 0; k < 4; ++k) {
            seed_ = seed_ * 1664525U + 1013904223U;
            sum += (seed_ >> 8) / 16777216.0 - 0.5;
        }
        return sum * deviation_ * std::sqrt(3.0); // four draws of deviation 1/sqrt(12)
    }

    double deviation_;
    std::uint32_t seed_ = 12345;
    std::vector<std::uint8_t> samples_;
};

// The hits of one clip in one detection mode.
bool clipHits(const QDir& folder, const QString& name, const replay::ReplayOptions& options,
              bool enhanced, double noise, std::vector<replay::TimedHit>& hits, QSize& cameraSize,
              QString& error) {
    const std::unique_ptr<replay::FrameSource> frames =
        replay::FrameSource::open({QFile::encodeName(folder.filePath(name))}, error);
    if (!frames)
        return false;
    replay::ReplaySession session(
        {options.sampleEvery, options.compareEvery, options.tolerance, options.maxBeam, enhanced});
    // The enhanced detection's hits are in the analysis picture's pixels.
    const std::int32_t step = enhanced ? 1 : options.compareEvery;
    SensorNoise sensorNoise(noise);
    replay::SourceFrame frame;
    std::int64_t index = 0;
    for (; frames->next(frame, error); ++index) {
        cameraSize = frame.cameraSize;
        const capture::FullFrame picture = sensorNoise.apply(frame.picture.frame());
        if (const auto hit = session.push(frame.pixels, picture.empty() ? nullptr : &picture))
            hits.push_back({index, frame.seconds, replay::analysisPoint(*hit, step)});
    }
    return error.isEmpty();
}

// Takes --noise D (or --noise=D) out of the arguments: 0 to 64 levels.
bool takeNoise(std::vector<QByteArray>& arguments, double& noise, QString& error) {
    for (auto at = arguments.begin(); at != arguments.end(); ++at) {
        QByteArray value;
        auto last = at;
        if (*at == "--noise") {
            if (std::next(at) == arguments.end()) {
                error = QStringLiteral("--noise needs a deviation in levels");
                return false;
            }
            last = std::next(at);
            value = *last;
        } else if (at->startsWith("--noise=")) {
            value = at->mid(8);
        } else {
            continue;
        }
        bool ok = false;
        noise = value.toDouble(&ok);
        if (!ok || !(noise >= 0 && noise <= 64)) {
            error = QStringLiteral("--noise: not a deviation of 0 to 64 levels: %1")
                        .arg(QString::fromLocal8Bit(value));
            return false;
        }
        arguments.erase(at, std::next(last));
        return true;
    }
    return true;
}

int fail(const QString& message) {
    std::fprintf(stderr, "vantorel-footage: %s\n", qPrintable(message));
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    const QApplication app(qtArgc, argv);
    replay::ReplayOptions options;
    QString error;
    std::vector<QByteArray> arguments(argv + 1, argv + argc);
    double noise = 0;
    if (!takeNoise(arguments, noise, error) || !replay::parseOptions(arguments, options, error))
        return fail(error);
    if (options.help || options.paths.size() != 1) {
        std::fputs("Usage: vantorel-footage [--sample-every N] [--compare-every S] "
                   "[--tolerance T] [--max-beam M] [--detection standard|enhanced] "
                   "[--noise D] FOLDER\n"
                   "--noise D adds sensor noise of D levels to the camera's picture; only the "
                   "enhanced detection reads it, so only that one runs.\n",
                   options.help ? stdout : stderr);
        return options.help ? 0 : 2;
    }
    const QDir folder(QFile::decodeName(options.paths.front()));
    std::map<QString, Clip> clips;
    if (!readShots(folder.filePath(QStringLiteral("shots.csv")), clips, error))
        return fail(error);
    const QTemporaryDir scratchStore; // the setters save: not into the user's settings
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratchStore.path()));

    QString out = QStringLiteral("Footage %1: %2 clips; parameters %3, %4, %5, %6")
                      .arg(folder.absolutePath())
                      .arg(clips.size())
                      .arg(options.sampleEvery)
                      .arg(options.compareEvery)
                      .arg(options.tolerance)
                      .arg(options.maxBeam);
    if (noise > 0)
        out += QStringLiteral("; sensor noise of %1 levels added").arg(noise);
    out += '\n';
    out += QStringLiteral("%1 %2 %3 %4 %5   %6 %7 %8\n")
               .arg(QStringLiteral("clip (game: a hit, then the pause; detector: "
                                   "every flash)"),
                    -44)
               .arg(QStringLiteral("required"), 8)
               .arg(QStringLiteral("found"), 6)
               .arg(QStringLiteral("false"), 6)
               .arg(QStringLiteral("median"), 7)
               .arg(QStringLiteral("found"), 6)
               .arg(QStringLiteral("false"), 6)
               .arg(QStringLiteral("median"), 7);
    QString notes;
    for (const bool enhanced : {false, true}) {
        if ((options.detectionGiven && options.enhanced != enhanced) || (noise > 0 && !enhanced))
            continue;
        out += enhanced ? QStringLiteral("Enhanced detection\n")
                        : QStringLiteral("Standard detection\n");
        Tally gameTotal;
        Tally detectorTotal;
        for (const auto& [name, clip] : clips) {
            std::vector<replay::TimedHit> hits;
            QSize cameraSize;
            if (!clipHits(folder, name, options, enhanced, noise, hits, cameraSize, error))
                return fail(error);
            QString clipNotes;
            const QSize positionSize = positionFrame(clip, cameraSize, name, clipNotes);
            if (!notes.contains(clipNotes))
                notes += clipNotes;
            const Tally game = score(replay::gameShots(hits), clip, cameraSize, positionSize);
            // The enhanced detection reports every flash once by itself; the
            // standard analysis reports a flash as it comes and often as it
            // goes, so its hits within the pause at one place are one flash.
            const Tally detector = score(enhanced ? hits : replay::detectorShots(hits, MatchRadius),
                                         clip, cameraSize, positionSize);
            out += row(name, game, detector);
            add(gameTotal, game);
            add(detectorTotal, detector);
        }
        out += row(QStringLiteral("total"), gameTotal, detectorTotal);
    }
    out += QStringLiteral("Median distances in video pixels; a hit within %1 analysis pixels "
                          "of a listed shot matches it.\n")
               .arg(MatchRadius);
    out += notes;
    std::fputs(qPrintable(out), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
