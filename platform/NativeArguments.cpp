#include "platform/NativeArguments.h"

#include <QFile>
#include <QList>

namespace platform {

QByteArray nativeArgument(const QString& value) {
#ifdef Q_OS_LINUX
    // The arguments of this process exactly as exec received them.
    QFile commandLine(QStringLiteral("/proc/self/cmdline"));
    if (commandLine.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> arguments = commandLine.readAll().split('\0');
        for (const QByteArray& argument : arguments.mid(1)) {
            if (QString::fromLocal8Bit(argument) == value)
                return argument;
            const qsizetype equals = argument.indexOf('=');
            if (argument.startsWith("--") && equals > 0 &&
                QString::fromLocal8Bit(argument.mid(equals + 1)) == value)
                return argument.mid(equals + 1);
        }
    }
#endif
    return QFile::encodeName(value);
}

} // namespace platform
