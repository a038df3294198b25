// The tuner: its model of the frame analysis hit for hit against the real
// analysis, the values it finds for made-up recordings, and --tune and
// --apply through the built tool.

#include "tools/replay/Tuner.h"
#include "tests/fixtures/ScratchHome.h"
#include "tests/fixtures/SyntheticRecording.h"
#include "tests/tools/ToolProcess.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <random>

namespace {

using fixtures::Flash;
using fixtures::makeRecording;
using fixtures::RecordingPlan;

QString describe(const replay::Parameters& p) {
    return QStringLiteral("N %1 S %2 T %3 M %4")
        .arg(p.sampleEvery)
        .arg(p.compareEvery)
        .arg(p.tolerance)
        .arg(p.maxBeam);
}

// Dots of every size and brightness, some in the corners and the extra
// column and row, some lasting, and a frame where the light comes on.
RecordingPlan mixedPlan(std::uint64_t seed) {
    std::mt19937 random(static_cast<std::uint32_t>(seed));
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    RecordingPlan plan;
    plan.frames = 80;
    plan.seed = seed;
    for (int frame = 2; frame < plan.frames - 3; frame += pick(2, 5)) {
        Flash flash;
        flash.frame = frame;
        flash.frames = pick(1, 3);
        flash.size = pick(1, 8);
        flash.red = static_cast<std::uint8_t>(pick(40, 255));
        switch (pick(0, 3)) {
        case 0: // a corner
            flash.x = pick(0, 1) * (160 - flash.size);
            flash.row = pick(0, 1) * (120 - flash.size);
            break;
        case 1: // the last columns and rows, which the extra column and row hold
            flash.x = pick(150, 159);
            flash.row = pick(110, 119);
            break;
        default:
            flash.x = pick(0, 159);
            flash.row = pick(0, 119);
        }
        plan.flashes.push_back(flash);
    }
    plan.flashes.push_back({40, 1, 0, 0, 160, 120}); // the whole picture
    return plan;
}

// The model answers for every Tolerance at once; here it must name the very
// frames in which the real analysis hits, at sampling, steps, Tolerances and
// beams on and off the tuner's search.
TEST(TuneModel, HitsTheFramesTheAnalysisHits) {
    const fixtures::ScratchHome home; // the setters save
    const int tolerances[] = {1, 5, 12, 15, 16, 30, 45, 90, 150, 220, 254, 255};
    const int beams[] = {1, 2, 3, 5, 10, 20, 35, 60, 100};
    std::size_t hits = 0;
    std::size_t runs = 0;
    for (const std::uint64_t seed : {1U, 2U}) {
        const std::vector<replay::SourceFrame> frames = makeRecording(mixedPlan(seed));
        for (const int n : {1, 2, 3, 5}) {
            for (const int s : {1, 2, 3, 4, 5, 6, 7, 9, 16, 33, 50}) {
                for (int k = 0; k < 3; ++k, ++runs) {
                    const replay::Parameters p{
                        n, s, tolerances[(runs * 5 + seed) % std::size(tolerances)],
                        beams[(runs * 7 + seed) % std::size(beams)]};
                    const auto analysed = replay::analysedHitFrames(frames, p);
                    ASSERT_TRUE(analysed.has_value());
                    EXPECT_EQ(replay::modelHitFrames(frames, p), *analysed)
                        << describe(p).toStdString() << " seed " << seed;
                    hits += analysed->size();
                }
            }
        }
    }
    EXPECT_GT(hits, runs) << "the recordings make hits";
}

// Four flashes in eight seconds of noise: exactly four shots between the
// noise (bytes vary by up to 15) and the dots' brightness, at the finest
// sampling, step and the default beam, with a Tolerance in the middle.
TEST(Tuner, FindsTheShotsOfARecording) {
    const fixtures::ScratchHome home;
    const std::vector<replay::SourceFrame> frames = makeRecording(fixtures::evenFlashes(240, 4));
    const replay::Tuner tuner(frames);

    const replay::TuneResult four = tuner.search(4);
    ASSERT_TRUE(four.found);
    const replay::TuneChoice& choice = four.choice;
    EXPECT_EQ(choice.shots, 4);
    EXPECT_EQ(choice.lowTolerance, 15);
    EXPECT_GT(choice.highTolerance, 200);
    EXPECT_EQ(choice.parameters.tolerance, (choice.lowTolerance + choice.highTolerance) / 2);
    EXPECT_EQ(describe(choice.parameters),
              QStringLiteral("N 1 S 1 T %1 M 20").arg(choice.parameters.tolerance));
    EXPECT_EQ(four.certainty, replay::Certainty::Sure);
    EXPECT_GT(four.otherSettings, 0);
    const auto analysed = replay::analysedHitFrames(frames, choice.parameters);
    ASSERT_TRUE(analysed.has_value());
    EXPECT_EQ(replay::gameShotCount(frames, *analysed), 4);

    // Eight seconds hold at most six shots with their pauses.
    const replay::TuneResult many = tuner.search(20);
    EXPECT_FALSE(many.found);
    EXPECT_EQ(many.certainty, replay::Certainty::Unsure);
    ASSERT_FALSE(many.reachedCounts.empty());
    EXPECT_LE(many.reachedCounts.back(), 6);
    EXPECT_EQ(many.choice.shots, many.reachedCounts.back());
    EXPECT_EQ(many.reachedCounts.front(), 0);
}

// A dot that only a few samples see at a coarse step still leaves the finer
// steps the widest margin, and a flash seen in three frames is one shot.
TEST(Tuner, LongFlashesAndSmallDotsCountOnce) {
    const fixtures::ScratchHome home;
    RecordingPlan plan = fixtures::evenFlashes(200, 3, 7);
    for (Flash& flash : plan.flashes) {
        flash.frames = 3;
        flash.size = 2;
    }
    const std::vector<replay::SourceFrame> frames = makeRecording(plan);
    const replay::TuneResult result = replay::Tuner(frames).search(3);
    ASSERT_TRUE(result.found);
    EXPECT_EQ(result.choice.parameters.compareEvery, 1);
    EXPECT_GT(result.choice.highTolerance - result.choice.lowTolerance, 150);
    const auto analysed = replay::analysedHitFrames(frames, result.choice.parameters);
    ASSERT_TRUE(analysed.has_value());
    EXPECT_EQ(replay::gameShotCount(frames, *analysed), 3);
}

class TuneTool : public ToolProcess {
protected:
    TuneTool() : ToolProcess(QStringLiteral(VANTOREL_REPLAY_TOOL)) {}

    // The recording as the picture files a camera program would leave.
    QString writeRecording(const RecordingPlan& plan) {
        QString folder = home.filePath("run-001");
        QDir().mkpath(folder);
        const std::vector<replay::SourceFrame> frames = makeRecording(plan);
        for (std::size_t i = 0; i < frames.size(); ++i) {
            QImage picture(160, 120, QImage::Format_RGB888);
            const std::vector<std::uint8_t>& bytes = frames[i].pixels;
            for (int y = 0; y < 120; ++y) {
                const std::uint8_t* row = bytes.data() + static_cast<std::size_t>(119 - y) * 480;
                for (int x = 0; x < 160; ++x, row += 3)
                    picture.setPixel(x, y, qRgb(row[2], row[1], row[0]));
            }
            EXPECT_TRUE(picture.save(
                QStringLiteral("%1/frame%2.png").arg(folder).arg(i, 4, 10, QChar('0'))));
        }
        return folder;
    }
    QString settingsFile() const { return home.filePath("c/Vantorel/Vantorel.ini"); }
};

TEST_F(TuneTool, PrintsStoresAndRefuses) {
    const QString folder = writeRecording(fixtures::evenFlashes(150, 2));

    const auto [status, out, err] = run({"--tune", "2", folder});
    const QRegularExpression paste(
        "\n--sample-every (\\d+) --compare-every (\\d+) --tolerance (\\d+) --max-beam (\\d+)\n");
    const QRegularExpressionMatch values = paste.match(out);
    EXPECT_TRUE(status == 0 && values.hasMatch() && out.contains("Tolerance 15..") &&
                out.contains("Certainty: sure") &&
                out.contains("The frame analysis confirms 2 shots."))
        << out.toStdString() << err.toStdString();
    EXPECT_FALSE(QDir(home.filePath("c")).exists()) << "settings left alone without --apply";

    const auto [noneStatus, noneOut, noneErr] = run({"--tune", "40", "--apply", folder});
    EXPECT_TRUE(noneStatus == 3 && noneOut.contains("No values give exactly 40 shots") &&
                noneOut.contains("Nothing was stored."))
        << noneStatus << noneOut.toStdString() << noneErr.toStdString();
    EXPECT_FALSE(QFileInfo::exists(settingsFile()));

    // Only the four keys change; the rest of a hand-edited file stays.
    ASSERT_TRUE(fixtures::writeFile(settingsFile(), "; mine\n[Settings]\nTolerance=\" 9\" ; old\n"
                                                    "Note=caf\xe9\n\n[Other]\nMaxLaserBeam=1"));
    const auto [applyStatus, applyOut, applyErr] = run({"--apply", "--tune=2", folder});
    EXPECT_TRUE(applyStatus == 0 && applyOut.contains("The values were stored in the settings."))
        << applyOut.toStdString() << applyErr.toStdString();
    const auto stored = [&values](int k) {
        return "=\" " + values.captured(k).toLatin1() + "\"\n";
    };
    EXPECT_EQ(fixtures::readFile(settingsFile()),
              "; mine\n[Settings]\nTolerance" + stored(3) + "Note=caf\xe9\nSampleEveryNthFrame" +
                  stored(1) + "CompareEveryNthByte" + stored(2) + "MaxLaserBeam" + stored(4) +
                  "\n[Other]\nMaxLaserBeam=1");

    const std::pair<QStringList, const char*> bad[] = {
        {{"--tune", "0", folder}, "option '--tune' takes a whole number from 1 to 1000, not '0'"},
        {{"--tune=1001", folder}, "not '1001'"},
        {{"--apply", folder}, "give them"},
        {{"--tune", "2", "--tolerance", "9", folder}, "leave out '--tolerance'"},
        {{"--tune", "2"}, "no image file or directory given"},
    };
    for (const auto& [arguments, error] : bad) {
        const auto [badStatus, badOut, badErr] = run(arguments);
        EXPECT_TRUE(badStatus == 2 && badOut.isEmpty() && badErr.contains(error))
            << arguments.join(' ').toStdString() << ": " << badErr.toStdString();
    }
    const auto [helpStatus, help, helpErr] = run({"--help"});
    EXPECT_TRUE(helpStatus == 0 && help.contains("--tune K") && help.contains("--apply") &&
                help.contains("3 when no values give exactly"));
}

} // namespace
