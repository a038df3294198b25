#pragma once
// A private home for one test: settings, data and font folders in a fresh
// temporary directory, never the user's. Restores the environment after.
// And the two file helpers the tests of files in it use.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

class ScratchHome {
public:
    ScratchHome();
    ~ScratchHome();
    ScratchHome(const ScratchHome&) = delete;
    ScratchHome& operator=(const ScratchHome&) = delete;

    QString path() const { return dir_.path(); }
    QString configFolder() const { return path() + QStringLiteral("/config"); } // XDG_CONFIG_HOME
    QString dataFolder() const { return path() + QStringLiteral("/data"); }     // XDG_DATA_HOME
    // The settings file of the program in this home.
    QString settingsFile() const {
        return configFolder() + QStringLiteral("/Vantorel/Vantorel.ini");
    }

private:
    QTemporaryDir dir_;
    QByteArray oldConfig_;
    QByteArray oldData_;
};

// The bytes of a regular file, or none: a FIFO would wait, a device never end.
QByteArray readFile(const QString& path);
// The file with exactly these bytes, its folders made first; false if not.
bool writeFile(const QString& path, const QByteArray& bytes);

} // namespace testsupport
