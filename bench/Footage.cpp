// vantorel-footage: the shots found in a folder of camera videos against the
// positions listed in its shots.csv, per clip and in total, counted as the
// game counts (a hit, then the pause) and as a detector (every flash once:
// the standard analysis's hits within the pause at one place taken as one,
// the enhanced detection's as it reports them), for the standard and the
// enhanced detection side by side (or the one that --detection names).
//
//     vantorel-footage [--sample-every N] [--compare-every S] [--tolerance T]
//                      [--max-beam M] [--detection standard|enhanced] FOLDER
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

// The hits of one clip in one detection mode.
bool clipHits(const QDir& folder, const QString& name, const replay::ReplayOptions& options,
              bool enhanced, std::vector<replay::TimedHit>& hits, QSize& cameraSize,
              QString& error) {
    const std::unique_ptr<replay::FrameSource> frames =
        replay::FrameSource::open({QFile::encodeName(folder.filePath(name))}, error);
    if (!frames)
        return false;
    replay::ReplaySession session(
        {options.sampleEvery, options.compareEvery, options.tolerance, options.maxBeam, enhanced});
    // The enhanced detection's hits are in the analysis picture's pixels.
    const std::int32_t step = enhanced ? 1 : options.compareEvery;
    replay::SourceFrame frame;
    std::int64_t index = 0;
    for (; frames->next(frame, error); ++index) {
        cameraSize = frame.cameraSize;
        const capture::FullFrame& picture = frame.picture.frame();
        if (const auto hit = session.push(frame.pixels, picture.empty() ? nullptr : &picture))
            hits.push_back({index, frame.seconds, replay::analysisPoint(*hit, step)});
    }
    return error.isEmpty();
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
    if (!replay::parseOptions(std::vector<QByteArray>(argv + 1, argv + argc), options, error))
        return fail(error);
    if (options.help || options.paths.size() != 1) {
        std::fputs("Usage: vantorel-footage [--sample-every N] [--compare-every S] "
                   "[--tolerance T] [--max-beam M] [--detection standard|enhanced] FOLDER\n",
                   options.help ? stdout : stderr);
        return options.help ? 0 : 2;
    }
    const QDir folder(QFile::decodeName(options.paths.front()));
    std::map<QString, Clip> clips;
    if (!readShots(folder.filePath(QStringLiteral("shots.csv")), clips, error))
        return fail(error);
    const QTemporaryDir scratchStore; // the setters save: not into the user's settings
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratchStore.path()));

    QString out = QStringLiteral("Footage %1: %2 clips; parameters %3, %4, %5, %6\n")
                      .arg(folder.absolutePath())
                      .arg(clips.size())
                      .arg(options.sampleEvery)
                      .arg(options.compareEvery)
                      .arg(options.tolerance)
                      .arg(options.maxBeam);
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
        if (options.detectionGiven && options.enhanced != enhanced)
            continue;
        out += enhanced ? QStringLiteral("Enhanced detection\n")
                        : QStringLiteral("Standard detection\n");
        Tally gameTotal;
        Tally detectorTotal;
        for (const auto& [name, clip] : clips) {
            std::vector<replay::TimedHit> hits;
            QSize cameraSize;
            if (!clipHits(folder, name, options, enhanced, hits, cameraSize, error))
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
