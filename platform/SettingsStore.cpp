// The settings store as an INI file under the user's configuration folder:
// one file per application, one group per section, text values.

#include "platform/SettingsStore.h"

#include "platform/IniText.h"
#include "platform/NativeFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <utility>

namespace platform {

namespace {

// Far beyond any file the program writes (a few lines); a larger one is
// not a settings file, and reading it would only stall the start.
constexpr qint64 LargestStore = qint64{64} * 1024;
// Another instance holds the lock for milliseconds; longer means it is stuck.
constexpr int LockWaitMs = 500;

SettingsProblemHandler& problemHandler() {
    static SettingsProblemHandler handler;
    return handler;
}

void report(const QString& why) {
    if (const SettingsProblemHandler& handler = problemHandler())
        handler(why);
}

QString storePath(const QString& application) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1Char('/') + application + QLatin1Char('/') + application + QStringLiteral(".ini");
}

// The file's bytes, empty when there is no file; false with the reason when
// it cannot be used. Opened without waiting, so a FIFO or a device in its
// place cannot hold the program.
bool readStore(const QString& path, QByteArray& content, QString& reason) {
    content.clear();
    QFile file;
    bool missing = false;
    if (!openRegularFile(QFile::encodeName(path), file, reason, &missing)) {
        if (missing)
            return true;
        if (reason == QLatin1String("not a regular file"))
            reason = QStringLiteral("it is not a regular file");
        return false;
    }
    content = file.read(LargestStore + 1);
    if (content.size() > LargestStore) {
        reason = QStringLiteral("it is larger than %1 KiB").arg(LargestStore / 1024);
        return false;
    }
    if (file.error() != QFileDevice::NoError) {
        reason = file.errorString();
        return false;
    }
    return true;
}

// Empty when the text is stored (now or already), else the reason.
QString storeValue(const QString& path, const QByteArray& section, const QByteArray& key,
                   const QString& text) {
    QByteArray content;
    QString reason;
    if (!readStore(path, content, reason))
        return reason;
    if (iniValue(content, section, key) == text)
        return {}; // the file stays as the user left it
    if (!QDir().mkpath(QFileInfo(path).path()))
        return QStringLiteral("its folder cannot be created");

    const QString lockPath = path + QStringLiteral(".lock");
    const QString lockName = QFileInfo(lockPath).fileName();
    QString ignored;
    // QLockFile would wait for ever on anything but a file, and block in
    // reading a FIFO.
    if (const PathKind kind = pathKind(QFile::encodeName(lockPath), ignored);
        kind == PathKind::Directory || kind == PathKind::Other)
        return QStringLiteral("its lock file %1 is not a regular file").arg(lockName);
    QLockFile lock(lockPath);
    if (!lock.tryLock(LockWaitMs)) {
        return lock.error() == QLockFile::LockFailedError
                   ? QStringLiteral("its lock file %1 is held by another program").arg(lockName)
                   : QStringLiteral("its lock file %1 cannot be created").arg(lockName);
    }
    // Again under the lock: another instance may have saved meanwhile.
    if (!readStore(path, content, reason))
        return reason;
    const QByteArray changed = withIniValue(content, section, key, text);
    QSaveFile file(path); // follows a symbolic link, keeps the permissions
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(changed) != changed.size() || !file.commit())
        return file.errorString();
    return {};
}

} // namespace

QString readSetting(const QString& application, const QString& section, const QString& key,
                    const QString& defaultText) {
    const QString path = storePath(application);
    QByteArray content;
    QString reason;
    if (!readStore(path, content, reason)) {
        report(QStringLiteral("Settings cannot be read from %1: %2. The default settings are "
                              "used and changes are not saved.")
                   .arg(path, reason));
        return defaultText;
    }
    return iniValue(content, section.toUtf8(), key.toUtf8()).value_or(defaultText);
}

bool writeSetting(const QString& application, const QString& section, const QString& key,
                  const QString& text) {
    const QString path = storePath(application);
    const QString reason = storeValue(path, section.toUtf8(), key.toUtf8(), text);
    if (reason.isEmpty())
        return true;
    report(QStringLiteral("Settings cannot be saved to %1: %2.").arg(path, reason));
    return false;
}

SettingsProblemHandler setSettingsProblemHandler(SettingsProblemHandler handler) {
    return std::exchange(problemHandler(), std::move(handler));
}

} // namespace platform
