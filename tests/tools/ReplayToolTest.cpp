// vantorel-replay as a shooter runs it: its bundled sample, the options,
// every kind of bad input, videos, names and output, and the values it
// stores in the settings. (Pictures of other
// sizes, cut to 4:3, and videos against the camera:
// tests/cameras/qt/FakeCameraHitsTest.cpp; its memory on many frames:
// bench/ReplayMemory.cpp.)

#include "tests/fixtures/ScratchHome.h"
#include "tests/fixtures/SyntheticRecording.h"
#include "tests/fixtures/SyntheticVideo.h"
#include "tests/tools/ToolProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString sample = QStringLiteral(VANTOREL_SAMPLE_DIR);
// What the tool prints for its sample, kept beside it.
const QString sampleHits = fixtures::readFile(sample + "/hits.txt");

class ReplayTool : public ToolProcess {
protected:
    ReplayTool() : ToolProcess(QStringLiteral(VANTOREL_REPLAY_TOOL)) {}
    // "frame=<i> ring=<r>" of every line, the lines joined by commas.
    static QString frames(QString out) {
        return out.remove(QRegularExpression(" x=.* score=\\S+")).trimmed().replace('\n', ',');
    }
};

// Good runs give the hits (as frames() shows them); bad input fails with its
// message and prints no hits.
struct Row {
    QStringList arguments;
    const char* error; // none: a good run
    QString frames = {};
};

// (The sample's own hits: AnyNameNoWindowSystemAndLostOutput.)
TEST_F(ReplayTool, SampleOptionsPicturesAndBadInput) {
    const auto [helpStatus, help, helpErr] = run({"--help"});
    for (const char* text : {"Usage: vantorel-replay", "--sample-every", "--compare-every",
                             "--tolerance", "--max-beam"})
        EXPECT_TRUE(helpStatus == 0 && help.contains(text)) << text;
    std::ofstream(home.filePath("junk.png").toStdString()) << "no picture";
    ASSERT_TRUE(QDir(home.path()).mkpath("empty/notes.txt")); // a folder without images
    // A picture cut short: Qt's reader leaves the missing rows unwritten.
    QImage(sample + "/frame02.png").save(home.filePath("whole.bmp"));
    QFile::copy(home.filePath("whole.bmp"), home.filePath("cut.bmp"));
    QFile::resize(home.filePath("cut.bmp"), QFileInfo(home.filePath("whole.bmp")).size() / 2);
    ASSERT_EQ(::mkfifo(QFile::encodeName(home.filePath("fifo.png")).constData(), 0600), 0);
    ASSERT_TRUE(QDir(home.path()).mkpath("withfifo"));
    QFile::link(home.filePath("fifo.png"), home.filePath("withfifo/a.png"));
    QFile::link("loop.png", home.filePath("loop.png"));
    QFile::copy(sample + "/frame01.png", home.filePath("locked.png"));
    QFile::setPermissions(home.filePath("locked.png"), {});
    const Row rows[] = {
        {{sample + "/frame01.png", sample + "/frame02.png", sample + "/frame03.png"},
         "",
         "frame=1 ring=6,frame=2 ring=6"}, // files in the given order
        {{"--sample-every", "5", sample}, "", "frame=5 ring=4"},
        {{"--max-beam=1", sample}, ""},
        {{"--tolerance", "255", sample}, ""},
        {{"--compare-every", "3", sample},
         "",
         "frame=2 ring=6,frame=3 ring=6,frame=5 ring=4,frame=6 ring=4"},
        {{"--bogus", sample}, "unknown option '--bogus'"},
        {{sample, "--tolerance"}, "option '--tolerance' needs a value"},
        {{"--tolerance", "0", sample}, "from 1 to 255, not '0'"},
        {{"--max-beam=101", sample}, "from 1 to 100, not '101'"},
        {{"--sample-every", "abc", sample}, "not 'abc'"},
        {{}, "no image file or directory given"},
        {{sample, sample + "/none.png"}, "none.png': No such file or directory"},
        {{home.filePath("junk.png"), sample}, "cannot read image"},
        {{home.filePath("empty")}, "no image files"},
        {{home.filePath("cut.bmp"), sample}, "cut.bmp': the picture is damaged or ends early"},
        {{home.filePath("withfifo")}, "a.png': not a regular file"}, // a FIFO, through a link
        {{home.filePath("loop.png")}, "loop.png': Too many levels of symbolic links"},
        // The superuser reads any file.
        {{home.filePath("locked.png")}, ::geteuid() == 0 ? "" : "locked.png': Permission denied"},
    };
    for (const Row& row : rows) {
        const auto [rowStatus, rowOut, rowErr] = run(row.arguments);
        const bool bad = *row.error != '\0';
        EXPECT_TRUE(rowStatus == (bad ? 2 : 0) && rowErr.contains(row.error) &&
                    (bad ? rowOut.isEmpty() : frames(rowOut) == row.frames))
            << row.arguments.join(' ').toStdString() << ": " << rowOut.toStdString()
            << rowErr.toStdString();
    }
    QFile::setPermissions(home.filePath("locked.png"), QFileDevice::WriteOwner);
}

// The sample's hits, with a file name that is not UTF-8 keeping its frame
// number, inside a folder and named; no window system is needed whatever
// QT_QPA_PLATFORM says, nor are settings written; results that cannot be
// written fail the run.
TEST_F(ReplayTool, AnyNameNoWindowSystemAndLostOutput) {
    ASSERT_TRUE(QDir(home.path()).mkpath("named"));
    const QByteArray folder = QFile::encodeName(home.filePath("named"));
    for (const QString& name : QDir(sample).entryList({"*.png"})) {
        QByteArray target = folder + '/' + QFile::encodeName(name);
        if (name == "frame03.png")
            target.replace(".png", "\xff.png");
        ASSERT_EQ(::symlink(QFile::encodeName(sample + '/' + name).constData(), target.constData()),
                  0);
    }
    const auto [status, out, err] =
        run({home.filePath("named")},
            R"(QT_QPA_PLATFORM=xcb DISPLAY= WAYLAND_DISPLAY= exec "$0" "$1")");
    EXPECT_TRUE(status == 0 && out == sampleHits) << out.toStdString() << err.toStdString();
    EXPECT_FALSE(QDir(home.filePath("c")).exists()) << "settings left alone";
    const auto [namedStatus, namedOut, namedErr] = run(
        {home.filePath("named")}, R"(exec "$0" "$1/frame02.png" "$1/frame03$(printf '\377').png")");
    EXPECT_TRUE(namedStatus == 0 && frames(namedOut) == "frame=1 ring=6") << namedErr.toStdString();
    // Qt cannot remove a name that is no UTF-8 with its temporary folder.
    ::unlink((folder + "/frame03\xff.png").constData());
    // Results, help and version that never reach the reader fail the run.
    for (const QString& argument :
         {sample, QStringLiteral("--help"), QStringLiteral("--version")}) {
        const auto [fullStatus, fullOut, fullErr] =
            run({argument}, R"(exec "$0" "$1" > /dev/full)");
        EXPECT_TRUE(fullStatus == 1 &&
                    fullErr.contains("cannot write the results: No space left on device"))
            << argument.toStdString() << ": " << fullStatus << fullErr.toStdString();
    }
    const auto [versionStatus, version, versionErr] =
        run({"--version"}, R"(QT_QPA_PLATFORM=xcb DISPLAY= WAYLAND_DISPLAY= exec "$0" "$1")");
    EXPECT_TRUE(versionStatus == 0 && version == "vantorel-replay 1.58\n" && versionErr.isEmpty())
        << version.toStdString() << versionErr.toStdString();
}

// --apply with values given: those keys alone change in the settings file,
// whatever else it holds (other sections with the same keys, comments, bytes
// that are not UTF-8, no newline at the end); with frames, after they were
// replayed and their hits printed. What cannot be stored, or comes with
// frames that cannot be read or results that cannot be written, stores
// nothing and says why.
TEST_F(ReplayTool, ApplyStoresTheGivenValuesAloneInTheSettings) {
    const QString settings = home.filePath("c/Vantorel/Vantorel.ini");
    const QByteArray before = "; Vantorel, tuned by hand\n[General]\nTolerance=7\n\n[Settings]\n"
                              "# the cellar camera\nSampleEveryNthFrame=\" 1\"\n"
                              "Tolerance = \" 50\" ; was 45\nNote=caf\xe9\tand \\\"quotes\\\"\n"
                              "\n[Window]\nGeometry=@ByteArray(\x01\x02)\nLast=1";
    ASSERT_TRUE(fixtures::writeFile(settings, before));
    const QString stored = "The values were stored in the settings.\n";

    const auto [status, out, err] = run({"--apply", "--tolerance", "30", "--max-beam=15"});
    QByteArray expected = "; Vantorel, tuned by hand\n[General]\nTolerance=7\n\n[Settings]\n"
                          "# the cellar camera\nSampleEveryNthFrame=\" 1\"\n"
                          "Tolerance =\" 30\"\nNote=caf\xe9\tand \\\"quotes\\\"\n"
                          "MaxLaserBeam=\" 15\"\n"
                          "\n[Window]\nGeometry=@ByteArray(\x01\x02)\nLast=1";
    EXPECT_TRUE(status == 0 && out == stored && err.isEmpty())
        << status << out.toStdString() << err.toStdString();
    EXPECT_EQ(fixtures::readFile(settings), expected);

    const QStringList values = {"--sample-every", "2",  "--compare-every", "3",
                                "--tolerance",    "40", "--max-beam",      "25"};
    const auto [plainStatus, hits, plainErr] = run(values + QStringList{sample});
    ASSERT_TRUE(plainStatus == 0 && !hits.isEmpty()) << plainErr.toStdString();
    EXPECT_EQ(fixtures::readFile(settings), expected) << "nothing stored without --apply";
    const auto [bothStatus, bothOut, bothErr] = run(QStringList{"--apply", sample} + values);
    EXPECT_TRUE(bothStatus == 0 && bothOut == hits + stored)
        << bothOut.toStdString() << bothErr.toStdString();
    expected = "; Vantorel, tuned by hand\n[General]\nTolerance=7\n\n[Settings]\n"
               "# the cellar camera\nSampleEveryNthFrame=\" 2\"\n"
               "Tolerance =\" 40\"\nNote=caf\xe9\tand \\\"quotes\\\"\n"
               "MaxLaserBeam=\" 25\"\nCompareEveryNthByte=\" 3\"\n"
               "\n[Window]\nGeometry=@ByteArray(\x01\x02)\nLast=1";
    EXPECT_EQ(fixtures::readFile(settings), expected);

    const struct {
        QStringList arguments;
        int status;
        const char* error;
        const char* shellLine = R"(exec "$0" "$@")";
    } refused[] = {
        {{"--apply"}, 2, "option '--apply' stores the values found by '--tune' or given with"},
        {{"--apply", sample}, 2, "give them"},
        {{"--apply", "--tolerance", "0"}, 2, "from 1 to 255, not '0'"},
        {{"--apply", "--tolerance", "9", sample + "/none.png"}, 2, "none.png'"},
        {{"--apply", "--tolerance", "9", sample},
         1,
         "cannot write the results",
         R"(exec "$0" "$@" > /dev/full)"},
    };
    for (const auto& row : refused) {
        const auto [rowStatus, rowOut, rowErr] = run(row.arguments, row.shellLine);
        EXPECT_TRUE(rowStatus == row.status && !rowOut.contains("stored") &&
                    rowErr.contains(row.error))
            << row.arguments.join(' ').toStdString() << ": " << rowStatus << rowErr.toStdString();
        EXPECT_EQ(fixtures::readFile(settings), expected) << row.arguments.join(' ').toStdString();
    }
    // A settings file that is no file: the store's reason, nothing written.
    ASSERT_TRUE(QFile::remove(settings) && QDir().mkpath(settings));
    const auto [folderStatus, folderOut, folderErr] = run({"--apply", "--tolerance", "9"});
    EXPECT_TRUE(folderStatus == 1 && folderOut.isEmpty() &&
                folderErr.contains("vantorel-replay: the values were not stored: Settings cannot "
                                   "be saved to ") &&
                folderErr.contains("Vantorel.ini: it is not a regular file."))
        << folderStatus << folderErr.toStdString();
    // No file yet: one is made with the section and the values given.
    ASSERT_TRUE(QDir(settings).removeRecursively());
    const auto [newStatus, newOut, newErr] = run({"--tolerance=60", "--apply"});
    EXPECT_TRUE(newStatus == 0 && newOut == stored) << newErr.toStdString();
    EXPECT_EQ(fixtures::readFile(settings), "[Settings]\nTolerance=\" 60\"\n");
}

// Videos that are no videos fail naming the file and why, a sound file too;
// a video cut short gives the hits of the frames left; a folder named as a video is a folder, and
// videos and pictures follow one another in one run.
TEST_F(ReplayTool, BadCutAndMixedVideos) {
    const QString folder = home.filePath("pictures");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(
        fixtures::writeLaserPictures(folder, 30, {{3, {300, 200}, 6}, {25, {420, 150}, 6}}));
    const QString video = home.filePath("laser.mkv");
    ASSERT_EQ(fixtures::encodePictures(folder, video,
                                       "video/x-raw,format=BGRx ! avenc_ffv1 ! matroskamux"),
              QString());
    const auto [status, pictureHits, err] = run({folder});
    ASSERT_TRUE(status == 0 && frames(pictureHits) ==
                                   "frame=3 ring=9,frame=4 ring=9,frame=25 ring=5,frame=26 ring=5")
        << pictureHits.toStdString() << err.toStdString();
    std::ofstream(home.filePath("clip.mp4").toStdString()) << "no video";
    std::ofstream(home.filePath("empty.mkv").toStdString());
    ASSERT_EQ(fixtures::launchPipeline({"audiotestsrc", "num-buffers=20", "!", "audioconvert", "!",
                                        "vorbisenc", "!", "oggmux", "!", "filesink",
                                        "location=" + home.filePath("tone.ogg")}),
              QString());
    QFile::copy(video, home.filePath("cut.mkv"));
    QFile::resize(home.filePath("cut.mkv"), QFileInfo(video).size() / 2);
    ASSERT_TRUE(QDir().mkpath(home.filePath("folder.mp4")));
    QFile::copy(folder + "/002.png", home.filePath("folder.mp4/a.png"));
    QFile::copy(folder + "/003.png", home.filePath("folder.mp4/b.png"));
    const Row rows[] = {
        {{video}, "", frames(pictureHits)},
        {{home.filePath("clip.mp4")}, "clip.mp4': "},
        {{home.filePath("empty.mkv")}, "empty.mkv': "},
        {{home.filePath("tone.ogg")}, "tone.ogg': no video in it"},
        // GStreamer decodes the frames that are there and ends quietly.
        {{home.filePath("cut.mkv")}, "", "frame=3 ring=9,frame=4 ring=9"},
        {{home.filePath("folder.mp4"), folder + "/004.png"}, "", "frame=1 ring=9,frame=2 ring=9"},
        // Frames run on from one input to the next.
        {{folder + "/002.png", folder + "/003.png", video},
         "",
         "frame=1 ring=9,frame=2 ring=9,frame=5 ring=9,frame=6 ring=9,frame=27 ring=5,frame=28 "
         "ring=5"},
    };
    for (const Row& row : rows) {
        const auto [rowStatus, rowOut, rowErr] = run(row.arguments);
        const bool bad = *row.error != '\0';
        EXPECT_TRUE(rowStatus == (bad ? 2 : 0) && rowErr.contains(row.error) &&
                    (bad ? rowOut.isEmpty() : frames(rowOut) == row.frames))
            << row.arguments.join(' ').toStdString() << ": " << rowStatus << " "
            << rowOut.toStdString() << rowErr.toStdString();
    }
}

// A recording shows each shot twice: the dot is a change as it appears and
// again as it goes. --pause 1500 reports none for the game's pause after a
// hit, so the replay gives exactly the shots the score card counted (here
// not the one fired a second after another).
TEST_F(ReplayTool, APauseGivesTheShotsTheGameCounts) {
    fixtures::RecordingPlan plan;
    plan.frames = 200;
    for (const int first : {20, 80, 140, 170})
        plan.flashes.push_back({first, 3, 40 + first / 2, 50});
    const QString folder = home.filePath("run-001");
    ASSERT_TRUE(QDir().mkpath(folder));
    int number = 0;
    for (const replay::SourceFrame& frame : fixtures::makeRecording(plan)) {
        const QImage picture =
            QImage(frame.pixels.data(), 160, 120, 480, QImage::Format_BGR888).mirrored(false, true);
        ASSERT_TRUE(picture.save(
            folder + QStringLiteral("/frame-%1.png").arg(number++, 8, 10, QLatin1Char('0'))));
    }
    const auto [status, out, err] = run({folder});
    EXPECT_EQ(status, 0) << err.toStdString();
    EXPECT_EQ(frames(out).remove(QRegularExpression(" ring=\\d+")),
              "frame=20,frame=23,frame=80,frame=83,frame=140,frame=143,frame=170,frame=173");
    const auto [pauseStatus, pauseOut, pauseErr] = run({"--pause", "1500", folder});
    EXPECT_EQ(pauseStatus, 0) << pauseErr.toStdString();
    EXPECT_EQ(frames(pauseOut).remove(QRegularExpression(" ring=\\d+")),
              "frame=20,frame=80,frame=140");
    const auto [badStatus, badOut, badErr] = run({"--pause", "-1", folder});
    EXPECT_TRUE(badStatus == 2 && badErr.contains("'--pause' takes a whole number from 0 to 60000"))
        << badErr.toStdString();
}

// The enhanced detection reads the video's full pictures: a flash of one
// frame and one of two are one hit each, where the standard analysis sees
// each as it comes and as it goes; the mode is named or refused.
TEST_F(ReplayTool, EnhancedDetectionOnAVideo) {
    const QString folder = home.filePath("flashes");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(fixtures::writeLaserPictures(
        folder, 30, {{12, {300, 200}, 6}, {20, {420, 150}, 6}, {21, {420, 150}, 6}}));
    const QString video = home.filePath("flashes.mkv");
    ASSERT_EQ(fixtures::encodePictures(folder, video,
                                       "video/x-raw,format=I420 ! avenc_ffv1 ! matroskamux"),
              QString());
    const Row rows[] = {
        {{video}, "", "frame=12 ring=9,frame=13 ring=9,frame=20 ring=5,frame=22 ring=5"},
        {{"--detection", "standard", video},
         "",
         "frame=12 ring=9,frame=13 ring=9,frame=20 ring=5,frame=22 ring=5"},
        {{"--detection", "enhanced", video}, "", "frame=12 ring=9,frame=20 ring=5"},
        {{"--detection=enhanced", video}, "", "frame=12 ring=9,frame=20 ring=5"},
        {{"--detection", "best", video}, "option '--detection' takes 'standard' or 'enhanced'"},
    };
    for (const Row& row : rows) {
        const auto [status, out, err] = run(row.arguments);
        const bool bad = *row.error != '\0';
        EXPECT_TRUE(status == (bad ? 2 : 0) && err.contains(row.error) &&
                    (bad ? out.isEmpty() : frames(out) == row.frames))
            << row.arguments.join(' ').toStdString() << ": " << status << " " << out.toStdString()
            << err.toStdString();
    }
}

} // namespace
