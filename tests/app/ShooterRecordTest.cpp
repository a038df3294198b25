// What the program keeps of a series: the history line at its end, and the
// frames recorded around its hits, which the replay tool scores the same.

#include "app/FrameTap.h"
#include "platform/SeamGuard.h"
#include "record/FrameRecorder.h"
#include "record/HistoryFile.h"
#include "tests/app/AppFixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace apptest {
namespace {

// Ten shots at distinct places, in grid cells from the centre.
constexpr std::pair<double, double> Shots[] = {{0, 0},       {1.5, 1.5},  {-1.5, 2.5}, {2.5, -1.5},
                                               {-2.5, -2.5}, {1.5, -3.5}, {3.5, 1.5},  {-3.5, 1.5},
                                               {4.5, 3.5},   {-1.5, -1.5}};

class ShooterRecord : public AppFixture {
protected:
    void playSeries() {
        start();
        deliverFrames(40); // more than a second before the first shot
        clickNewGame();
        endPause();
        for (const auto& [dx, dy] : Shots) {
            fireAtCells(dx, dy);
            endPause();
        }
        deliverFrames(40);
    }
    static QString run(const QString& program, const QStringList& arguments, int& status) {
        QProcess process;
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        status = process.exitCode();
        return process.readAllStandardOutput() + process.readAllStandardError();
    }
};

TEST_F(ShooterRecord, RecordedFramesReplayToTheHitsOfTheSeries) {
    const QTemporaryDir frames;
    QString error;
    const auto recorder =
        record::FrameRecorder::Start(frames.path(), record::FrameRecorder::Mode::AroundHits, error);
    ASSERT_TRUE(recorder);
    {
        const platform::SeamGuard recording(app::SetFrameRecorder, recorder.get());
        playSeries();
    }
    ASSERT_EQ(window().ShotCount(), 10);

    record::History history;
    ASSERT_TRUE(record::ReadHistory(record::HistoryPath(), history, error));
    ASSERT_EQ(history.series.size(), 1U);
    const record::Series& series = history.series[0];
    // The history says what the score card says.
    QString card;
    for (int k = 0; k < record::Series::Shots; ++k)
        card += QStringLiteral("Shot %1 Result Is %2\r\n")
                    .arg(k + 1, 2)
                    .arg(series.shots[static_cast<std::size_t>(k)].result, 2);
    card += QStringLiteral("Summary %1 From 100\r\n").arg(series.total, 3);
    EXPECT_EQ(window().ScoreCardText(), card);
    EXPECT_LT(std::abs(series.time.secsTo(QDateTime::currentDateTime())), 60);

    int status = 0;
    const QString out = run(QStringLiteral(VANTOREL_REPLAY_TOOL), {recorder->Folder()}, status);
    ASSERT_EQ(status, 0) << out.toStdString();
    // The replay reports a dot both when it appears and when it goes; the
    // score card counts the first, the second comes during the pause.
    QStringList hits;
    QString previous;
    int firstFrame = -1;
    int lastScoredFrame = -1;
    static const QRegularExpression line("frame=(\\d+) (x=\\S+ y=\\S+) (score=\\S+ ring=\\S+)");
    for (auto match = line.globalMatch(out); match.hasNext();) {
        const auto hit = match.next();
        if (hit.captured(2) == previous)
            continue;
        previous = hit.captured(2);
        hits << hit.captured(2) + ' ' + hit.captured(3);
        lastScoredFrame = hit.captured(1).toInt();
        if (firstFrame < 0)
            firstFrame = lastScoredFrame;
    }
    QStringList scored;
    for (const record::Shot& shot : series.shots)
        scored << QStringLiteral("x=%1 y=%2 score=%3 ring=%4")
                      .arg(shot.x)
                      .arg(shot.y)
                      .arg(shot.score, 0, 'f', 4)
                      .arg(shot.result);
    EXPECT_EQ(hits, scored);
    // A second (30 frames) before the first hit and after the last one.
    EXPECT_EQ(firstFrame, 30);
    EXPECT_EQ(QDir(recorder->Folder()).entryList(QDir::Files).size(), lastScoredFrame + 31);
}

// The history is a convenience: without it the shooter sees nothing amiss.
TEST_F(ShooterRecord, AnUnwritableHistoryCostsOneMessageNotTheGame) {
    QFile(home_.dataFolder() + "/Vantorel").open(QIODevice::WriteOnly); // a file, not a folder
    testing::internal::CaptureStderr();
    playSeries();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(window().ShotCount(), 10);
    EXPECT_TRUE(window().ScoreCardText().contains("Summary"));
    EXPECT_TRUE(messages_.shown().isEmpty());
    const QString text = QString::fromStdString(err);
    EXPECT_EQ(text.count("vantorel: "), 1) << err;
    EXPECT_TRUE(text.contains("vantorel: this series is not kept in the history")) << err;
}

TEST_F(ShooterRecord, TheProgramsOptions) {
    struct Row {
        QStringList arguments;
        int status;
        const char* output;
    };
    const Row rows[] = {
        {{"--help"}, 0, "--record FOLDER"},
        {{"--bogus"}, 2, "vantorel-sim: unknown option '--bogus' (see --help)"},
        {{"--record-all"}, 2, "'--record-all' needs '--record FOLDER'"},
        {{"--record", home_.dataFolder() + "/Vantorel/history.csv/x"}, 2, "cannot record frames"},
    };
    QDir(home_.dataFolder()).mkpath("Vantorel");
    QFile(home_.dataFolder() + "/Vantorel/history.csv").open(QIODevice::WriteOnly);
    for (const Row& row : rows) {
        int status = -1;
        const QString out = run(QStringLiteral(VANTOREL_SIM_PROGRAM), row.arguments, status);
        EXPECT_TRUE(status == row.status && out.contains(row.output))
            << row.output << ": " << out.toStdString();
    }
}

} // namespace
} // namespace apptest
