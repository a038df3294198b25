#include "tests/testsupport/ScratchHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace testsupport {

ScratchHome::ScratchHome()
    : oldConfig_(qgetenv("XDG_CONFIG_HOME")), oldData_(qgetenv("XDG_DATA_HOME")) {
    QDir().mkpath(configFolder());
    QDir().mkpath(dataFolder());
    qputenv("XDG_CONFIG_HOME", configFolder().toLocal8Bit());
    qputenv("XDG_DATA_HOME", dataFolder().toLocal8Bit());
    // QSettings caches its user folder on first use; point it here explicitly.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configFolder());
}

ScratchHome::~ScratchHome() {
    qputenv("XDG_CONFIG_HOME", oldConfig_);
    qputenv("XDG_DATA_HOME", oldData_);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) ? file.readAll()
                                                                      : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace testsupport
