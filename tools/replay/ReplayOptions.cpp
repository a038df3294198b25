#include "tools/replay/ReplayOptions.h"

#include "capture/service/FrameConversion.h"
#include "detection/MotionDetection.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>

namespace replay {

namespace {

struct IntegerOption {
    const char* name;
    const char* usage; // the option's line of the usage text, before its range
    const MotionDetection::ParameterRange& range;
    std::int32_t ReplayOptions::*field;
};

// The program's own parameter ranges, those the settings dialog offers.
constexpr IntegerOption integerOptions[] = {
    {"--sample-every", "  --sample-every N   analyse every N-th frame",
     MotionDetection::SampleEveryNthFrameRange, &ReplayOptions::sampleEvery},
    {"--compare-every", "  --compare-every S  compare every S-th pixel along both axes",
     MotionDetection::CompareEveryNthByteRange, &ReplayOptions::compareEvery},
    {"--tolerance", "  --tolerance T      a byte must change by more than T",
     MotionDetection::ToleranceRange, &ReplayOptions::tolerance},
    {"--max-beam", "  --max-beam M       largest spot, in percent of the grid",
     MotionDetection::MaxLaserBeamRange, &ReplayOptions::maxBeam},
};

const IntegerOption* findOption(const QString& name) {
    for (const IntegerOption& option : integerOptions) {
        if (name == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

QStringList imageSuffixes() {
    QStringList suffixes;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        suffixes << QString::fromLatin1(format).toLower();
    return suffixes;
}

bool readFrame(const QString& path, std::vector<std::vector<std::uint8_t>>& frames,
               QString& error) {
    QImageReader reader(path);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        error = QStringLiteral("cannot read image '%1': %2").arg(path, reader.errorString());
        return false;
    }
    std::vector<std::uint8_t> frame;
    platform::convertImage(picture, platform::FrameLayout{}, frame);
    frames.push_back(std::move(frame));
    return true;
}

} // namespace

bool parseOptions(const QStringList& arguments, ReplayOptions& options, QString& error) {
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !argument.startsWith(QLatin1Char('-')) ||
            argument == QLatin1String("-")) {
            options.paths << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
            continue;
        }
        // "--name value" or "--name=value".
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? argument : argument.left(equals);
        const IntegerOption* option = findOption(name);
        if (option == nullptr) {
            error = QStringLiteral("unknown option '%1'").arg(name);
            return false;
        }
        QString text;
        if (equals >= 0) {
            text = argument.mid(equals + 1);
        } else if (i + 1 < arguments.size()) {
            text = arguments[++i];
        } else {
            error = QStringLiteral("option '%1' needs a value").arg(name);
            return false;
        }
        bool ok = false;
        const int value = text.toInt(&ok);
        if (!ok || value < option->range.min || value > option->range.max) {
            error = QStringLiteral("option '%1' takes a whole number from %2 to %3, not '%4'")
                        .arg(name)
                        .arg(option->range.min)
                        .arg(option->range.max)
                        .arg(text);
            return false;
        }
        options.*(option->field) = value;
    }
    if (!options.help && options.paths.isEmpty()) {
        error = QStringLiteral("no image file or directory given (see --help)");
        return false;
    }
    return true;
}

QString usageText() {
    QString options;
    for (const IntegerOption& option : integerOptions)
        options += QStringLiteral("%1, %2..%3 (default %4)\n")
                       .arg(QLatin1String(option.usage))
                       .arg(option.range.min)
                       .arg(option.range.max)
                       .arg(option.range.defaultValue);
    return QStringLiteral(
               "Usage: vantorel-replay [OPTIONS] PATH...\n"
               "\n"
               "Runs recorded frames through the shot detection and prints one line for\n"
               "every hit it reports:\n"
               "  frame=<index from 0> x=<X> y=<Y> score=<raw score> ring=<ring>\n"
               "x and y are the hit's offset from the frame's centre in twips on a target\n"
               "picture 6000 twips high (positive x: further right in the frame, positive\n"
               "y: higher up); ring is the score the score card would show.\n"
               "\n"
               "Each PATH is an image file (PNG, BMP, PPM, JPEG, ...), one frame, or a\n"
               "directory whose image files are taken in name order. Pictures that are\n"
               "not 160 x 120 are centre-cropped to 4:3 and scaled to 160 x 120.\n"
               "\n"
               "Options (the detection parameters; the stored settings are left alone):\n"
               "%1"
               "  --help             show this text\n"
               "\n"
               "Exit status: 0 when the frames were replayed, 2 on a bad option or an\n"
               "unreadable path.\n")
        .arg(options);
}

bool loadFrames(const QStringList& paths, std::vector<std::vector<std::uint8_t>>& frames,
                QString& error) {
    const QStringList suffixes = imageSuffixes();
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!info.exists()) {
            error = QStringLiteral("no such file or directory: '%1'").arg(path);
            return false;
        }
        if (!info.isDir()) {
            if (!readFrame(path, frames, error))
                return false;
            continue;
        }
        QStringList names;
        const QFileInfoList entries = QDir(path).entryInfoList(QDir::Files, QDir::NoSort);
        if (!QDir(path).isReadable()) {
            error = QStringLiteral("cannot read directory '%1'").arg(path);
            return false;
        }
        for (const QFileInfo& entry : entries) {
            if (suffixes.contains(entry.suffix().toLower()))
                names << entry.fileName();
        }
        if (names.isEmpty()) {
            error = QStringLiteral("no image files in directory '%1'").arg(path);
            return false;
        }
        std::sort(names.begin(), names.end()); // plain name order, independent of the locale
        for (const QString& name : names) {
            if (!readFrame(QDir(path).filePath(name), frames, error))
                return false;
        }
    }
    return true;
}

} // namespace replay
