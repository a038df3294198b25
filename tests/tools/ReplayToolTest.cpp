// vantorel-replay as a shooter runs it: its bundled sample, the options,
// pictures of other sizes, and every kind of bad input.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString sample = QStringLiteral(VANTOREL_SAMPLE_DIR);
const QString sampleHits = QStringLiteral("frame=2 x=917 y=667 score=6.2218 ring=7\n"
                                          "frame=3 x=917 y=667 score=6.2218 ring=7\n"
                                          "frame=5 x=-1583 y=-1333 score=3.1001 ring=4\n"
                                          "frame=6 x=-1583 y=-1333 score=3.1001 ring=4\n");

class ReplayTool : public ::testing::Test {
protected:
    // Runs the tool in a private home so nothing of the user's is touched;
    // answers the exit status, stdout and stderr.
    std::tuple<int, QString, QString> run(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("c")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path()); // mode 700
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(VANTOREL_REPLAY_TOOL), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }
    static QString frame(int index) {
        return QStringLiteral("%1/frame%2.png").arg(sample).arg(index, 2, 10, QLatin1Char('0'));
    }
    // "frame=<i> ring=<r>" of every line, or only the frames.
    static QString frames(const QString& out, bool withRing = false) {
        QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (QString& line : lines)
            line = line.section(QLatin1Char(' '), 0, 0) +
                   (withRing ? QLatin1Char(' ') + line.section(QLatin1Char(' '), 4, 4) : QString());
        return lines.join(QLatin1Char(','));
    }
    QTemporaryDir home;
};

TEST_F(ReplayTool, SampleAndOptions) {
    const auto [status, out, err] = run({sample});
    EXPECT_EQ(status, 0) << err.toStdString();
    EXPECT_EQ(out, sampleHits);
    EXPECT_FALSE(QDir(home.filePath(QStringLiteral("c"))).exists()) << "settings left alone";
    const std::pair<QStringList, const char*> rows[] = {
        {{frame(1), frame(2), frame(3)}, "frame=1,frame=2"}, // files in the given order
        {{frame(2)}, ""},                                    // one frame: nothing to compare
        {{QStringLiteral("--sample-every"), QStringLiteral("5"), sample}, "frame=5"},
        {{QStringLiteral("--max-beam=1"), sample}, ""},
        {{QStringLiteral("--tolerance"), QStringLiteral("255"), sample}, ""},
        {{QStringLiteral("--compare-every"), QStringLiteral("3"), sample},
         "frame=2,frame=3,frame=5,frame=6"},
    };
    for (const auto& [arguments, expected] : rows) {
        const auto [rowStatus, rowOut, rowErr] = run(arguments);
        EXPECT_EQ(rowStatus, 0) << rowErr.toStdString();
        EXPECT_EQ(frames(rowOut), QString::fromLatin1(expected))
            << arguments.join(' ').toStdString();
    }
}

TEST_F(ReplayTool, WidePicturesAreCroppedAndScaled) {
    // The sample's frames at 640 x 360, with the 4:3 view in the middle.
    ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("wide")));
    for (int i = 0; i < 7; ++i) {
        QImage canvas(640, 360, QImage::Format_RGB888);
        canvas.fill(Qt::black);
        QPainter(&canvas).drawImage(QRect(80, 0, 480, 360), QImage(frame(i)));
        canvas.save(home.filePath(QStringLiteral("wide/%1.png").arg(i)));
    }
    const auto [status, out, err] = run({home.filePath(QStringLiteral("wide"))});
    EXPECT_EQ(status, 0) << err.toStdString();
    EXPECT_EQ(frames(out, true), frames(sampleHits, true));
}

TEST_F(ReplayTool, HelpAndBadInput) {
    const auto [status, out, err] = run({QStringLiteral("--help")});
    EXPECT_EQ(status, 0);
    for (const char* text : {"Usage: vantorel-replay", "--sample-every", "--compare-every",
                             "--tolerance", "--max-beam"})
        EXPECT_TRUE(out.contains(QLatin1String(text))) << text;

    QFile junk(home.filePath(QStringLiteral("junk.png")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly) && junk.write("no picture") > 0);
    junk.close();
    ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("empty")));
    ASSERT_TRUE(QFile(home.filePath(QStringLiteral("empty/notes.txt"))).open(QIODevice::WriteOnly));
    const std::pair<QStringList, const char*> rows[] = {
        {{QStringLiteral("--bogus"), sample}, "unknown option '--bogus'"},
        {{sample, QStringLiteral("--tolerance")}, "option '--tolerance' needs a value"},
        {{QStringLiteral("--tolerance"), QStringLiteral("0"), sample}, "from 1 to 255, not '0'"},
        {{QStringLiteral("--max-beam=101"), sample}, "from 1 to 100, not '101'"},
        {{QStringLiteral("--sample-every"), QStringLiteral("abc"), sample}, "not 'abc'"},
        {{QStringLiteral("--compare-every"), QStringLiteral("51"), sample}, "from 1 to 50"},
        {{}, "no image file or directory given"},
        {{sample, sample + QStringLiteral("/none.png")}, "no such file or directory"},
        {{sample, junk.fileName()}, "cannot read image"},
        {{home.filePath(QStringLiteral("empty"))}, "no image files"},
    };
    for (const auto& [arguments, message] : rows) {
        SCOPED_TRACE(message);
        const auto [rowStatus, rowOut, rowErr] = run(arguments);
        EXPECT_EQ(rowStatus, 2);
        EXPECT_TRUE(rowOut.isEmpty()) << rowOut.toStdString();
        EXPECT_TRUE(rowErr.contains(QString::fromUtf8(message))) << rowErr.toStdString();
    }
}

} // namespace
