#include "tools/replay/TuneCommand.h"

#include "detection/MotionDetection.h"
#include "tools/replay/SettingsUpdate.h"
#include "tools/replay/ToolOutput.h"
#include "tools/replay/Tuner.h"

#include <QStringList>
#include <cstdio>

namespace replay {

namespace {

const char* certaintyWord(Certainty certainty) {
    switch (certainty) {
    case Certainty::Sure:
        return "sure";
    case Certainty::FairlySure:
        return "fairly sure";
    case Certainty::Unsure:
        break;
    }
    return "unsure";
}

// Ascending counts as runs: "0..3, 6, 9..12".
QString countList(const std::vector<std::int32_t>& counts) {
    QStringList runs;
    for (std::size_t i = 0; i < counts.size();) {
        std::size_t last = i;
        while (last + 1 < counts.size() && counts[last + 1] == counts[last] + 1)
            ++last;
        runs << (last == i ? QString::number(counts[i])
                           : QStringLiteral("%1..%2").arg(counts[i]).arg(counts[last]));
        i = last + 1;
    }
    return runs.join(QStringLiteral(", "));
}

void printChoice(const TuneChoice& choice) {
    const Parameters& p = choice.parameters;
    std::printf("%d shots with Sample Every N-th Frame %d, Compare Every N-th Byte %d, "
                "Tolerance %d, Maximal Laser Beam Diameter %d\n",
                choice.shots, p.sampleEvery, p.compareEvery, p.tolerance, p.maxBeam);
    std::printf("Tolerance %d..%d gives %d shots\n", choice.lowTolerance, choice.highTolerance,
                choice.shots);
}

} // namespace

int runTune(FrameSource& frames, std::int32_t shots, bool apply,
            const std::function<void()>& useUserSettings) {
    std::vector<SourceFrame> recording;
    QString error;
    for (SourceFrame frame; frames.next(frame, error);)
        recording.push_back(std::move(frame));
    if (!error.isEmpty())
        return fail(error);
    std::printf("%zu frames, %.1f seconds\n", recording.size(),
                recording.empty() ? 0.0 : recording.back().seconds);

    const TuneResult result = Tuner(recording).search(shots);
    const TuneChoice& choice = result.choice;
    if (!result.found)
        std::printf("No values give exactly %d shots; the counts reached: %s\nClosest: ", shots,
                    qPrintable(countList(result.reachedCounts)));
    printChoice(choice);
    if (result.found)
        std::printf(
            "Certainty: %s (Tolerance may be %d lower or %d higher; %d other "
            "frame/step choices give %d shots too)\n",
            certaintyWord(result.certainty), choice.parameters.tolerance - choice.lowTolerance,
            choice.highTolerance - choice.parameters.tolerance, result.otherSettings, shots);

    const std::optional<std::vector<std::int64_t>> hits =
        analysedHitFrames(recording, choice.parameters);
    if (!hits)
        return fail(QStringLiteral("cannot connect the capture window"));
    const std::int32_t checked = gameShotCount(recording, *hits);
    if (checked != choice.shots) {
        outputIntact(error);
        return fail(QStringLiteral("the frame analysis counts %1 shots with these values, the "
                                   "search %2; nothing is stored (please report this)")
                        .arg(checked)
                        .arg(choice.shots),
                    ExitAnalysisDisagrees);
    }
    std::printf("The frame analysis confirms %d shots.\n", checked);
    const Parameters& p = choice.parameters;
    std::printf("--sample-every %d --compare-every %d --tolerance %d --max-beam %d\n",
                p.sampleEvery, p.compareEvery, p.tolerance, p.maxBeam);
    if (!result.found) {
        if (apply)
            std::printf("Nothing was stored.\n");
        return outputIntact(error) ? ExitNoValues : fail(error, ExitOutputLost);
    }
    // What is stored must have been seen.
    if (!outputIntact(error))
        return fail(error, ExitOutputLost);
    if (apply) {
        useUserSettings();
        if (const QString problem =
                storeInSettings({p.sampleEvery, p.compareEvery, p.tolerance, p.maxBeam});
            !problem.isEmpty())
            return fail(QStringLiteral("the values were not stored: %1").arg(problem),
                        ExitOutputLost);
        std::printf("The values were stored in the settings.\n");
    }
    return outputIntact(error) ? 0 : fail(error, ExitOutputLost);
}

} // namespace replay
