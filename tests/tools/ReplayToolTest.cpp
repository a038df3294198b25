// vantorel-replay as a shooter runs it: its bundled sample, the options,
// pictures of other sizes, and every kind of bad input.

#include <QDir>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

namespace {

const QString sample = QStringLiteral(VANTOREL_SAMPLE_DIR);
const QString sampleHits = "frame=2 x=917 y=667 score=6.2218 ring=7\n"
                           "frame=3 x=917 y=667 score=6.2218 ring=7\n"
                           "frame=5 x=-1583 y=-1333 score=3.1001 ring=4\n"
                           "frame=6 x=-1583 y=-1333 score=3.1001 ring=4\n";

class ReplayTool : public ::testing::Test {
protected:
    // Runs the tool in a private home so nothing of the user's is touched;
    // answers the exit status, stdout and stderr.
    std::tuple<int, QString, QString> run(const QStringList& arguments) {
        QProcess process;
        // The first of a name counts: ours come before the caller's.
        process.setEnvironment(QStringList{"HOME=" + home.path(),
                                           "XDG_CONFIG_HOME=" + home.filePath("c"),
                                           "XDG_RUNTIME_DIR=" + home.path()} +
                               QProcess::systemEnvironment());
        process.start(QStringLiteral(VANTOREL_REPLAY_TOOL), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }
    // "frame=<i> ring=<r>" of every line, the lines joined by commas.
    static QString frames(QString out) {
        return out.remove(QRegularExpression(" x=.* score=\\S+")).trimmed().replace('\n', ',');
    }
    QTemporaryDir home;
};

TEST_F(ReplayTool, SampleOptionsAndWidePictures) {
    const auto [status, out, err] = run({sample});
    EXPECT_TRUE(status == 0 && out == sampleHits) << out.toStdString() << err.toStdString();
    EXPECT_FALSE(QDir(home.filePath("c")).exists()) << "settings left alone";
    // The sample's frames at 640 x 360, with the 4:3 view in the middle.
    ASSERT_TRUE(QDir(home.path()).mkpath("wide"));
    for (const QString& name : QDir(sample).entryList({"*.png"})) {
        QImage canvas(640, 360, QImage::Format_RGB888);
        canvas.fill(Qt::black);
        QPainter(&canvas).drawImage(QRect(80, 0, 480, 360), QImage(sample + '/' + name));
        canvas.save(home.filePath("wide/" + name));
    }
    const std::pair<QStringList, QString> rows[] = {
        {{home.filePath("wide")}, frames(sampleHits)}, // cropped and scaled
        {{sample + "/frame01.png", sample + "/frame02.png", sample + "/frame03.png"},
         "frame=1 ring=7,frame=2 ring=7"}, // files in the given order
        {{sample + "/frame02.png"}, ""},   // one frame: nothing to compare
        {{"--sample-every", "5", sample}, "frame=5 ring=4"},
        {{"--max-beam=1", sample}, ""},
        {{"--tolerance", "255", sample}, ""},
        {{"--compare-every", "3", sample},
         "frame=2 ring=6,frame=3 ring=6,frame=5 ring=4,frame=6 ring=4"},
    };
    for (const auto& [arguments, expected] : rows) {
        const auto [rowStatus, rowOut, rowErr] = run(arguments);
        EXPECT_TRUE(rowStatus == 0 && frames(rowOut) == expected)
            << arguments.join(' ').toStdString() << ": " << rowOut.toStdString();
    }
}

TEST_F(ReplayTool, HelpAndBadInput) {
    const auto [status, out, err] = run({"--help"});
    for (const char* text : {"Usage: vantorel-replay", "--sample-every", "--compare-every",
                             "--tolerance", "--max-beam"})
        EXPECT_TRUE(status == 0 && out.contains(text)) << text;
    std::ofstream(home.filePath("junk.png").toStdString()) << "no picture";
    ASSERT_TRUE(QDir(home.path()).mkpath("empty/notes.txt")); // a folder without images
    const std::pair<QStringList, const char*> rows[] = {
        {{"--bogus", sample}, "unknown option '--bogus'"},
        {{sample, "--tolerance"}, "option '--tolerance' needs a value"},
        {{"--tolerance", "0", sample}, "from 1 to 255, not '0'"},
        {{"--max-beam=101", sample}, "from 1 to 100, not '101'"},
        {{"--sample-every", "abc", sample}, "not 'abc'"},
        {{}, "no image file or directory given"},
        {{sample, sample + "/none.png"}, "no such file or directory"},
        {{sample, home.filePath("junk.png")}, "cannot read image"},
        {{home.filePath("empty")}, "no image files"},
    };
    for (const auto& [arguments, message] : rows) {
        const auto [rowStatus, rowOut, rowErr] = run(arguments);
        EXPECT_TRUE(rowStatus == 2 && rowOut.isEmpty() && rowErr.contains(message))
            << message << ": " << rowErr.toStdString();
    }
}

} // namespace
