// vantorel-replay as a shooter runs it: its bundled sample, the options,
// pictures of other sizes, and every kind of bad input.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString tool = QStringLiteral(VANTOREL_REPLAY_TOOL);
const QString sample = QStringLiteral(VANTOREL_SAMPLE_DIR);

const QString sampleHits = QStringLiteral("frame=2 x=917 y=667 score=6.2218 ring=7\n"
                                          "frame=3 x=917 y=667 score=6.2218 ring=7\n"
                                          "frame=5 x=-1583 y=-1333 score=3.1001 ring=4\n"
                                          "frame=6 x=-1583 y=-1333 score=3.1001 ring=4\n");

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

class ReplayTool : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        QDir(home.path()).mkpath(QStringLiteral("config"));
        QDir(home.path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                  QFileDevice::ExeOwner);
    }

    // Runs the tool in a private home so nothing of the user's is touched.
    ToolRun run(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                           home.filePath(QStringLiteral("runtime")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.start(tool, arguments);
        EXPECT_TRUE(process.waitForFinished(60000)) << "the tool did not finish";
        ToolRun result;
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        result.err = QString::fromLocal8Bit(process.readAllStandardError());
        return result;
    }

    static QString frame(int index) {
        return QStringLiteral("%1/frame%2.png").arg(sample).arg(index, 2, 10, QLatin1Char('0'));
    }

    // The sample's frames turned into pictures of another size.
    QString resizedSample(const QSize& picture, const QRect& place) {
        QString folder = home.filePath(QStringLiteral("resized"));
        QDir().mkpath(folder);
        for (int i = 0; i < 7; ++i) {
            QImage canvas(picture, QImage::Format_RGB888);
            canvas.fill(Qt::black);
            QPainter painter(&canvas);
            painter.drawImage(place, QImage(frame(i)));
            painter.end();
            canvas.save(QStringLiteral("%1/f%2.png").arg(folder).arg(i));
        }
        return folder;
    }

    // "frame=<i> ring=<r>" of every line, or only the frames.
    static std::string ringsByFrame(const QString& out, bool withRing = true) {
        QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (QString& line : lines) {
            const QString ring = line.section(QLatin1Char(' '), 4, 4);
            line = line.section(QLatin1Char(' '), 0, 0);
            if (withRing)
                line += QLatin1Char(' ') + ring;
        }
        return lines.join(QLatin1Char(',')).toStdString();
    }

    QTemporaryDir home;
};

TEST_F(ReplayTool, SamplePrintsItsHits) {
    const ToolRun result = run({sample});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, sampleHits);
}

TEST_F(ReplayTool, LeavesTheUsersSettingsAlone) {
    run({sample});
    EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral("config/Vantorel"))));
    EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral(".config/Vantorel"))));
}

TEST_F(ReplayTool, FilesAreFramesInTheGivenOrder) {
    const ToolRun result = run({frame(1), frame(2), frame(3)});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, QStringLiteral("frame=1 x=917 y=667 score=6.2218 ring=7\n"
                                         "frame=2 x=917 y=667 score=6.2218 ring=7\n"));
}

TEST_F(ReplayTool, OneFrameAloneHasNothingToCompare) {
    const ToolRun result = run({frame(2)});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.isEmpty());
}

TEST_F(ReplayTool, SampleEveryFifthFrame) {
    // Frames 0 and 5 are analysed: the second dot appears between them.
    const ToolRun result = run({QStringLiteral("--sample-every"), QStringLiteral("5"), sample});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, QStringLiteral("frame=5 x=-1583 y=-1333 score=3.1001 ring=4\n"));
}

TEST_F(ReplayTool, SmallestBeamLetsNothingThrough) {
    const ToolRun result = run({QStringLiteral("--max-beam=1"), sample});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.isEmpty());
}

TEST_F(ReplayTool, HighestToleranceSeesNothing) {
    const ToolRun result = run({QStringLiteral("--tolerance"), QStringLiteral("255"), sample});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.isEmpty());
}

TEST_F(ReplayTool, FinerGridFindsTheSameDots) {
    const ToolRun result = run({QStringLiteral("--compare-every"), QStringLiteral("3"), sample});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(ringsByFrame(result.out, false), ringsByFrame(sampleHits, false));
}

TEST_F(ReplayTool, LargerPicturesAreScaledDown) {
    const QString folder = resizedSample(QSize(640, 480), QRect(0, 0, 640, 480));
    const ToolRun result = run({folder});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(ringsByFrame(result.out), ringsByFrame(sampleHits));
}

TEST_F(ReplayTool, WidePicturesLoseTheirSides) {
    // A 16:9 picture with the 4:3 view in its middle.
    const QString folder = resizedSample(QSize(640, 360), QRect(80, 0, 480, 360));
    const ToolRun result = run({folder});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(ringsByFrame(result.out), ringsByFrame(sampleHits));
}

TEST_F(ReplayTool, HelpExplainsTheOptions) {
    const ToolRun result = run({QStringLiteral("--help")});
    EXPECT_EQ(result.exitCode, 0);
    for (const char* option : {"--sample-every", "--compare-every", "--tolerance", "--max-beam"})
        EXPECT_TRUE(result.out.contains(QLatin1String(option))) << option;
    EXPECT_TRUE(result.out.startsWith(QStringLiteral("Usage: vantorel-replay")));
}

struct BadInput {
    const char* name;
    QStringList arguments;
    const char* message;
};

class ReplayToolRefuses : public ReplayTool, public ::testing::WithParamInterface<BadInput> {};

TEST_P(ReplayToolRefuses, WithAMessageAndStatusTwo) {
    QStringList arguments;
    for (const QString& argument : GetParam().arguments)
        arguments << QString(argument).replace(QStringLiteral("SAMPLE"), sample);
    const ToolRun result = run(arguments);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.out.isEmpty()) << result.out.toStdString();
    EXPECT_TRUE(result.err.contains(QString::fromUtf8(GetParam().message)))
        << result.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    BadInputs, ReplayToolRefuses,
    ::testing::Values(
        BadInput{"UnknownOption", {"--bogus", "SAMPLE"}, "unknown option '--bogus'"},
        BadInput{"MissingValue", {"SAMPLE", "--tolerance"}, "option '--tolerance' needs a value"},
        BadInput{"ToleranceZero", {"--tolerance", "0", "SAMPLE"}, "from 1 to 255, not '0'"},
        BadInput{"BeamTooLarge", {"--max-beam=101", "SAMPLE"}, "from 1 to 100, not '101'"},
        BadInput{"SampleNotANumber", {"--sample-every", "abc", "SAMPLE"}, "not 'abc'"},
        BadInput{"CompareTooLarge", {"--compare-every", "51", "SAMPLE"}, "from 1 to 50"},
        BadInput{"NoPath", {}, "no image file or directory given"},
        BadInput{"MissingPath", {"SAMPLE", "SAMPLE/none.png"}, "no such file or directory"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReplayTool, RefusesAFileThatIsNoPicture) {
    const QString junk = home.filePath(QStringLiteral("junk.png"));
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not a picture");
    file.close();
    const ToolRun result = run({sample, junk});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_TRUE(result.err.contains(QStringLiteral("cannot read image")))
        << result.err.toStdString();
}

TEST_F(ReplayTool, RefusesAFolderWithoutPictures) {
    const QString empty = home.filePath(QStringLiteral("empty"));
    QDir().mkpath(empty);
    QFile note(empty + QStringLiteral("/notes.txt"));
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    note.close();
    const ToolRun result = run({empty});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_TRUE(result.err.contains(QStringLiteral("no image files"))) << result.err.toStdString();
}

} // namespace
