#include "platform/NativeFiles.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QDir>
#include <QFileInfo>
#endif

namespace platform {

namespace {
const QString NotRegular = QStringLiteral("not a regular file");
}

#ifdef Q_OS_UNIX

// Names are bytes here, and Qt would garble those that are not UTF-8; so
// these few calls go to the system directly.
namespace {
QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}
} // namespace

PathKind pathKind(const QByteArray& path, QString& reason) {
    struct stat info {};
    if (::stat(path.constData(), &info) != 0) {
        reason = systemError(errno);
        return PathKind::Missing;
    }
    if (S_ISDIR(info.st_mode))
        return PathKind::Directory;
    return S_ISREG(info.st_mode) ? PathKind::RegularFile : PathKind::Other;
}

bool openRegularFile(const QByteArray& path, QFile& file, QString& reason, bool* missing) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer that never comes.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (missing != nullptr)
        *missing = fd < 0 && errno == ENOENT;
    if (fd < 0) {
        reason = systemError(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        reason = NotRegular;
        return false;
    }
    return file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
}

bool listFiles(const QByteArray& folder, std::vector<QByteArray>& names, QString& reason) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.constData()), &::closedir);
    if (!dir) {
        reason = systemError(errno);
        return false;
    }
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr)
            break;
        struct stat info {};
        if (!(::fstatat(::dirfd(dir.get()), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode)))
            names.emplace_back(entry->d_name);
    }
    if (errno != 0) {
        reason = systemError(errno);
        return false;
    }
    return true;
}

#else

// Elsewhere names are Unicode, which Qt keeps whole.
PathKind pathKind(const QByteArray& path, QString& reason) {
    const QFileInfo info(QFile::decodeName(path));
    if (!info.exists()) {
        reason = QStringLiteral("No such file or directory");
        return PathKind::Missing;
    }
    if (info.isDir())
        return PathKind::Directory;
    return info.isFile() ? PathKind::RegularFile : PathKind::Other;
}

bool openRegularFile(const QByteArray& path, QFile& file, QString& reason, bool* missing) {
    QString why;
    const PathKind kind = pathKind(path, why);
    if (missing != nullptr)
        *missing = kind == PathKind::Missing;
    if (kind != PathKind::RegularFile) {
        reason = kind == PathKind::Missing ? why : NotRegular;
        return false;
    }
    file.setFileName(QFile::decodeName(path));
    if (file.open(QIODevice::ReadOnly))
        return true;
    reason = file.errorString();
    return false;
}

bool listFiles(const QByteArray& folder, std::vector<QByteArray>& names, QString& reason) {
    const QDir dir(QFile::decodeName(folder));
    if (!dir.exists() || !dir.isReadable()) {
        reason = QStringLiteral("cannot be read");
        return false;
    }
    const QStringList entries =
        dir.entryList(QDir::Files | QDir::System | QDir::Hidden, QDir::NoSort);
    for (const QString& entry : entries)
        names.push_back(QFile::encodeName(entry));
    return true;
}

#endif

} // namespace platform
