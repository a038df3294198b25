#pragma once
// Runs a built tool as a shooter runs it, in a private home so nothing of the
// user's is touched.

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>

class ToolProcess : public ::testing::Test {
protected:
    explicit ToolProcess(QString tool) : tool_(std::move(tool)) {}

    // Answers the exit status (-1 for a crash), stdout and stderr. With a
    // shell line, the shell runs it with the tool as $0 and the arguments as
    // $1...
    std::tuple<int, QString, QString> run(const QStringList& arguments,
                                          const QString& shellLine = {}) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.path());
        environment.insert("XDG_CONFIG_HOME", home.filePath("c"));
        environment.insert("XDG_DATA_HOME", home.filePath("d"));
        environment.insert("XDG_RUNTIME_DIR", home.path());
        process.setProcessEnvironment(environment);
        if (shellLine.isEmpty())
            process.start(tool_, arguments);
        else
            process.start("/bin/sh", QStringList{"-c", shellLine, tool_} + arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }
    QTemporaryDir home;

private:
    QString tool_;
};
