#pragma once
// A private home for one test: settings and data folders in a fresh
// temporary directory, never the user's. Restores the environment after.
// And the two file helpers the tests of files in it use.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

class ScratchHome {
public:
    ScratchHome() {
        QDir().mkpath(configFolder());
        QDir().mkpath(dataFolder());
        qputenv("XDG_CONFIG_HOME", configFolder().toLocal8Bit());
        qputenv("XDG_DATA_HOME", dataFolder().toLocal8Bit());
        // QSettings caches its user folder on first use; point it here explicitly.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configFolder());
    }
    ~ScratchHome() {
        qputenv("XDG_CONFIG_HOME", oldConfig_);
        qputenv("XDG_DATA_HOME", oldData_);
    }

    QString path() const { return dir_.path(); }
    QString configFolder() const { return path() + QStringLiteral("/config"); } // XDG_CONFIG_HOME
    QString dataFolder() const { return path() + QStringLiteral("/data"); }     // XDG_DATA_HOME
    // The settings file of the program in this home.
    QString settingsFile() const {
        return configFolder() + QStringLiteral("/Vantorel/Vantorel.ini");
    }

private:
    QTemporaryDir dir_;
    const QByteArray oldConfig_ = qgetenv("XDG_CONFIG_HOME");
    const QByteArray oldData_ = qgetenv("XDG_DATA_HOME");
};

// The bytes of a regular file, or none: a FIFO would wait, a device never end.
inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) ? file.readAll()
                                                                      : QByteArray();
}

// The file with exactly these bytes, its folders made first; false if not.
inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace testsupport
