#include "tools/replay/ReplayOptions.h"

#include "tools/replay/FrameFiles.h"

namespace replay {

namespace {

struct IntegerOption {
    const char* name;
    const char* usage; // the option's line of the usage text, before its range
    std::int32_t min;
    std::int32_t max;
    std::int32_t ReplayOptions::*field;
    bool ReplayOptions::Given::*given; // null: not a detection parameter
};

constexpr IntegerOption parameterOption(const char* name, const char* usage,
                                        const MotionDetection::ParameterRange& range,
                                        std::int32_t ReplayOptions::*field,
                                        bool ReplayOptions::Given::*given) {
    return {name, usage, range.min, range.max, field, given};
}

// The program's own parameter ranges, those the settings dialog offers.
constexpr IntegerOption integerOptions[] = {
    parameterOption("--sample-every", "  --sample-every N   analyse every N-th frame",
                    MotionDetection::SampleEveryNthFrameRange, &ReplayOptions::sampleEvery,
                    &ReplayOptions::Given::sampleEvery),
    parameterOption("--compare-every",
                    "  --compare-every S  compare every S-th pixel along both axes",
                    MotionDetection::CompareEveryNthByteRange, &ReplayOptions::compareEvery,
                    &ReplayOptions::Given::compareEvery),
    parameterOption("--tolerance", "  --tolerance T      a byte must change by more than T",
                    MotionDetection::ToleranceRange, &ReplayOptions::tolerance,
                    &ReplayOptions::Given::tolerance),
    parameterOption("--max-beam", "  --max-beam M       largest spot, in percent of the grid",
                    MotionDetection::MaxLaserBeamRange, &ReplayOptions::maxBeam,
                    &ReplayOptions::Given::maxBeam),
    {"--pause", "  --pause MS         after a hit, report none for MS milliseconds", 0, 60000,
     &ReplayOptions::pauseMs, nullptr},
    {"--tune", "  --tune K           find the values that give the K shots fired", 1, 1000,
     &ReplayOptions::tuneShots, nullptr},
};

const IntegerOption* findOption(const QByteArray& name) {
    for (const IntegerOption& option : integerOptions) {
        if (name == option.name)
            return &option;
    }
    return nullptr;
}

} // namespace

bool parseOptions(const std::vector<QByteArray>& arguments, ReplayOptions& options,
                  QString& error) {
    bool optionsEnded = false;
    QByteArray parameterGiven; // the first detection parameter given
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const QByteArray& argument = arguments[i];
        if (optionsEnded || !argument.startsWith('-') || argument == "-") {
            options.paths.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            continue;
        }
        if (argument == "--version") {
            options.version = true;
            continue;
        }
        if (argument == "--apply") {
            options.apply = true;
            continue;
        }
        if (argument == "--detection" || argument.startsWith("--detection=")) {
            QByteArray mode;
            if (argument.size() > 11)
                mode = argument.mid(12);
            else if (i + 1 < arguments.size())
                mode = arguments[++i];
            if (mode != "standard" && mode != "enhanced") {
                error = QStringLiteral("option '--detection' takes 'standard' or 'enhanced', "
                                       "not '%1'")
                            .arg(displayName(mode));
                return false;
            }
            options.enhanced = mode == "enhanced";
            options.detectionGiven = true;
            continue;
        }
        // "--name value" or "--name=value".
        const qsizetype equals = argument.indexOf('=');
        const QByteArray name = equals < 0 ? argument : argument.left(equals);
        const IntegerOption* option = findOption(name);
        if (option == nullptr) {
            error = QStringLiteral("unknown option '%1'").arg(displayName(name));
            return false;
        }
        QByteArray text;
        if (equals >= 0) {
            text = argument.mid(equals + 1);
        } else if (i + 1 < arguments.size()) {
            text = arguments[++i];
        } else {
            error = QStringLiteral("option '%1' needs a value").arg(displayName(name));
            return false;
        }
        bool ok = false;
        const int value = text.toInt(&ok);
        if (!ok || value < option->min || value > option->max) {
            error = QStringLiteral("option '%1' takes a whole number from %2 to %3, not '%4'")
                        .arg(displayName(name))
                        .arg(option->min)
                        .arg(option->max)
                        .arg(displayName(text));
            return false;
        }
        options.*(option->field) = value;
        if (option->given != nullptr) {
            options.given.*(option->given) = true;
            if (parameterGiven.isEmpty())
                parameterGiven = name;
        }
    }
    // Without --tune, --apply stores the values given, and frames are optional.
    const bool storeGiven = options.apply && options.tuneShots == 0;
    if (storeGiven && parameterGiven.isEmpty()) {
        error = QStringLiteral("option '--apply' stores the values found by '--tune' or given with "
                               "'--sample-every', '--compare-every', '--tolerance' and "
                               "'--max-beam'; give them");
        return false;
    }
    if (options.tuneShots != 0 && options.pauseMs != 0) {
        error = QStringLiteral("option '--tune' counts the shots as the game does; leave out "
                               "'--pause'");
        return false;
    }
    if (options.tuneShots != 0 && options.enhanced) {
        error = QStringLiteral("option '--tune' searches the standard detection's parameters; "
                               "leave out '--detection enhanced'");
        return false;
    }
    if (options.tuneShots != 0 && !parameterGiven.isEmpty()) {
        error = QStringLiteral("option '--tune' finds the detection parameters itself; leave "
                               "out '%1'")
                    .arg(displayName(parameterGiven));
        return false;
    }
    if (!options.help && !options.version && !storeGiven && options.paths.empty()) {
        error = QStringLiteral("no image file or directory given (see --help)");
        return false;
    }
    return true;
}

QString usageText() {
    QString options;
    for (const IntegerOption& option : integerOptions) {
        options += QStringLiteral("%1, %2..%3")
                       .arg(QLatin1String(option.usage))
                       .arg(option.min)
                       .arg(option.max);
        if (const std::int32_t fallback = ReplayOptions{}.*(option.field);
            fallback != 0 || option.field == &ReplayOptions::pauseMs)
            options += QStringLiteral(" (default %1)").arg(fallback);
        options += QLatin1Char('\n');
    }
    return QStringLiteral(
               "Usage: vantorel-replay [OPTIONS] PATH...\n"
               "       vantorel-replay --tune K [--apply] PATH...\n"
               "       vantorel-replay --apply OPTIONS [PATH...]\n"
               "\n"
               "Runs recorded frames through the shot detection and prints one line for\n"
               "every hit it reports:\n"
               "  frame=<index from 0> x=<X> y=<Y> score=<raw score> ring=<ring>\n"
               "x and y are the hit's offset from the frame's centre in twips on a target\n"
               "picture 6000 twips high (positive x: further right in the frame, positive\n"
               "y: higher up); ring is the score the score card would show.\n"
               "\n"
               "A laser dot is a change when it appears and again when it goes, so a\n"
               "recording usually shows each shot twice, a few frames apart. The game\n"
               "counts the first and ignores the second, which falls in the pause of\n"
               "1.5 seconds after every shot; --pause 1500 does the same, so the hits\n"
               "printed are the shots on the score card. Frames of a folder of pictures\n"
               "are taken to be 1/30 second apart, video frames at their own times.\n"
               "\n"
               "Each PATH is an image file (PNG, BMP, PPM, JPEG, ...), one frame, a\n"
               "directory whose image files are taken in name order, or a video file\n"
               "(MP4, MKV, WebM, AVI, MOV, ...: whatever GStreamer decodes here), every\n"
               "frame of it, as fast as it decodes. Pictures and video frames are reduced\n"
               "as the camera's are: the 4:3 middle, each of the 160 x 120 pixels the\n"
               "brightest of its block. Frames are held a few at a time, so any number\n"
               "of them fits in memory.\n"
               "\n"
               "Options (the detection parameters; the stored settings are left alone but\n"
               "for --apply):\n"
               "%1"
               "  --detection MODE   standard (the default) or enhanced: the flashes in\n"
               "                     the full video picture, against a model of the scene\n"
               "  --apply            store the values in the settings of vantorel: with\n"
               "                     --tune those found, else those given above (after\n"
               "                     replaying the PATHs, if any)\n"
               "  --help             show this text\n"
               "  --version          show the version\n"
               "\n"
               "With --tune K, the frames are a recording in which K laser flashes were\n"
               "fired. The tool searches the detection parameters for values that give\n"
               "exactly K shots, counted as the game counts them (a hit, then a pause of\n"
               "1.5 seconds), and picks those whose Tolerance can move furthest without\n"
               "changing the count. It checks them with the frame analysis, prints them,\n"
               "the range of Tolerance that gives K shots and how sure it is, and a line of\n"
               "options to paste. The whole recording is held in memory (about 100 MB a\n"
               "minute at 30 frames a second).\n"
               "\n"
               "--apply writes the values to the settings of vantorel, in the file\n"
               "$XDG_CONFIG_HOME/Vantorel/Vantorel.ini (~/.config/Vantorel/Vantorel.ini),\n"
               "section [Settings], keys SampleEveryNthFrame, CompareEveryNthByte,\n"
               "Tolerance and MaxLaserBeam; the rest of the file stays as it is. The next\n"
               "start of vantorel uses them.\n"
               "\n"
               "Exit status: 0 when the frames were replayed (or values giving K shots\n"
               "were found), 1 when the results could not be written or the values not\n"
               "stored, 2 on a bad option or a path, picture or video that cannot be read (the\n"
               "hits of the frames before it are printed), 3 when no values give exactly\n"
               "K shots (the closest are printed, nothing is stored), 4 when the frame\n"
               "analysis counts other shots than the search expected (nothing is stored).\n")
        .arg(options);
}

} // namespace replay
