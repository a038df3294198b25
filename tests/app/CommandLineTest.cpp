// The command line of vantorel and vantorel-sim as a new user meets it, run
// without any window system: the help, the version, output that cannot be
// written, the Qt toolkit's own options and bad options.

#include "tests/fixtures/ScratchHome.h"

#include <QProcess>
#include <gtest/gtest.h>
#include <tuple>

namespace {

struct Outcome {
    int status = -1; // -1: the program crashed
    QString out;
    QString err;
};

// Runs the program through the shell line (the program as $0, the arguments
// as $1...) with no display of any kind: X11 asked for and none there.
Outcome runWithoutDisplay(const QString& program, const QStringList& arguments,
                          const QString& shellLine = QStringLiteral("exec \"$0\" \"$@\"")) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    process.setProcessEnvironment(environment);
    process.start("/bin/sh", QStringList{"-c", shellLine, program} + arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

TEST(CommandLine, HelpVersionAndBadOptionsNeedNoDisplay) {
    const fixtures::ScratchHome home;
    for (const auto& [program, name] :
         {std::pair(QStringLiteral(VANTOREL_PROGRAM), "vantorel"),
          std::pair(QStringLiteral(VANTOREL_SIM_PROGRAM), "vantorel-sim")}) {
        const struct {
            QStringList arguments;
            int status;
            QString out;      // all of stdout; with status 0 nothing on stderr
            QString err = {}; // a part of stderr
        } rows[] = {
            {{"--version"}, 0, QStringLiteral("%1 1.58\n").arg(name)},
            // Qt's own options pass, in either spelling.
            {{"-platform", "offscreen", "--version"}, 0, QStringLiteral("%1 1.58\n").arg(name)},
            {{"--style=fusion", "-reverse", "--version"}, 0, QStringLiteral("%1 1.58\n").arg(name)},
            {{"--bogus"},
             2,
             "",
             QStringLiteral("%1: unknown option '--bogus' (see --help)").arg(name)},
            {{"-x", "--help"}, 2, "", "unknown option '-x'"},
            {{"--record"}, 2, "", "missing value after '--record'"},
            {{"--record="}, 2, "", "option '--record' needs a folder"},
            {{"--version=2"}, 2, "", "unexpected value after '--version'"},
            {{"--record-all"}, 2, "", "'--record-all' needs '--record FOLDER'"},
            {{"stray"}, 2, "", "unexpected argument 'stray'"},
        };
        for (const auto& row : rows) {
            const Outcome outcome = runWithoutDisplay(program, row.arguments);
            EXPECT_TRUE(outcome.status == row.status && outcome.out == row.out &&
                        (row.status == 0 ? outcome.err.isEmpty() : outcome.err.contains(row.err)))
                << name << " " << row.arguments.join(' ').toStdString() << ": " << outcome.status
                << " " << outcome.out.toStdString() << outcome.err.toStdString();
        }
        const Outcome help = runWithoutDisplay(program, {"-h"});
        EXPECT_TRUE(help.status == 0 &&
                    help.out.startsWith(QStringLiteral("Usage: %1 [--record FOLDER").arg(name)) &&
                    help.out.contains("--version") && help.err.isEmpty())
            << help.status << help.out.toStdString() << help.err.toStdString();
        // Help and version that never reach the reader fail the run.
        for (const char* option : {"--help", "--version"}) {
            const Outcome full =
                runWithoutDisplay(program, {option}, R"(exec "$0" "$1" > /dev/full)");
            EXPECT_TRUE(full.status == 1 &&
                        full.err == QStringLiteral("%1: cannot write to standard output: No space "
                                                   "left on device\n")
                                        .arg(name))
                << name << " " << option << ": " << full.status << " " << full.err.toStdString();
        }
    }
}

} // namespace
