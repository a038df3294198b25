#pragma once
// A private home for one test: settings, data and font folders in a fresh
// temporary directory, never the user's. Restores the environment after.

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
    QString configFolder() const; // XDG_CONFIG_HOME
    QString dataFolder() const;   // XDG_DATA_HOME
    // The settings file of the program in this home.
    QString settingsFile() const;

private:
    QTemporaryDir dir_;
    QByteArray oldConfig_;
    QByteArray oldData_;
};

} // namespace testsupport
