// The footage benchmark as it counts: a made-up camera video with two shots,
// one flash in the pause after the first and one at a place no shot lists.

#include "tests/fixtures/SyntheticVideo.h"
#include "tests/tools/ToolProcess.h"

#include <QDir>
#include <QFile>

namespace {

class FootageTool : public ToolProcess {
protected:
    FootageTool() : ToolProcess(QStringLiteral(VANTOREL_FOOTAGE_TOOL)) {}

    // The figures of the output's row for the clip or "total": required,
    // then found and false hits as the game and as a detector count them.
    static QList<int> figures(const QString& out, const QString& row) {
        for (const QString& line : out.split('\n')) {
            const QStringList words = line.simplified().split(' ');
            if (words.value(0) == row && words.size() == 8)
                return {words[1].toInt(), words[2].toInt(), words[3].toInt(), words[5].toInt(),
                        words[6].toInt()};
        }
        return {};
    }
};

TEST_F(FootageTool, CountsAsTheGameAndAsADetectorWithNoiseAndRefusesBadInput) {
    // At 30 frames a second: shots at 1 s and 3 s; at 1.5 s a flash beside
    // the first shot, within its pause; at 2 s one where no shot is listed.
    const QString pictures = home.filePath("pictures");
    ASSERT_TRUE(QDir().mkpath(pictures));
    ASSERT_TRUE(fixtures::writeLaserPictures(
        pictures, 120,
        {{30, {200, 150}, 6}, {45, {204, 152}, 6}, {60, {500, 100}, 6}, {90, {400, 300}, 6}}));
    const QString footage = home.filePath("footage");
    ASSERT_TRUE(QDir().mkpath(footage));
    ASSERT_EQ(fixtures::encodePictures(pictures, footage + "/range.avi",
                                       "video/x-raw,format=I420 ! avimux"),
              QString());
    QFile list(footage + "/shots.csv");
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("clip,kind,x,y\nrange.avi,required,203,153\nrange.avi,required,403,303\n");
    list.close();

    const auto [status, out, err] = run({footage});
    ASSERT_EQ(status, 0) << err.toStdString();
    // Game: both shots, the flashes at 1.5 s and 2 s fall in the first's
    // pause. Detector: the flash beside the first shot within its pause is
    // that shot again; the one at 2 s is false.
    EXPECT_EQ(figures(out, "range.avi"), (QList<int>{2, 2, 0, 2, 1})) << out.toStdString();
    EXPECT_EQ(figures(out, "total"), (QList<int>{2, 2, 0, 2, 1}));

    // With a camera's noise on the picture only the enhanced detection runs,
    // and it still finds both shots.
    const auto [noisyStatus, noisyOut, noisyErr] = run({"--noise", "6", footage});
    ASSERT_EQ(noisyStatus, 0) << noisyErr.toStdString();
    EXPECT_TRUE(noisyOut.contains("sensor noise of 6 levels")) << noisyOut.toStdString();
    EXPECT_FALSE(noisyOut.contains("Standard detection"));
    EXPECT_EQ(figures(noisyOut, "total").mid(0, 3), (QList<int>{2, 2, 0}))
        << noisyOut.toStdString();
    for (const char* bad : {"-1", "65", "loud"}) {
        const auto [badStatus, badOut, badErr] = run({"--noise", bad, footage});
        EXPECT_EQ(badStatus, 2) << bad;
        EXPECT_TRUE(badErr.contains("--noise")) << badErr.toStdString();
    }

    list.open(QIODevice::WriteOnly);
    list.write("clip,kind,x,y\nrange.avi,sometimes,203,153\n");
    list.close();
    const auto [badStatus, badOut, badErr] = run({footage});
    EXPECT_EQ(badStatus, 2);
    EXPECT_TRUE(badErr.contains("line 2")) << badErr.toStdString();
}

} // namespace
