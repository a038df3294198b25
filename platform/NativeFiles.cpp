#include "platform/NativeFiles.h"

#include <QFile>
#include <cstring>

#ifdef Q_OS_UNIX
#include <cerrno>
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

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

#ifdef Q_OS_UNIX

// Names are bytes here, and Qt would garble those that are not UTF-8; so
// these few calls go to the system directly.

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

namespace {
// The names in a folder that are folders (folders true) or that are not.
bool listNames(const QByteArray& folder, bool folders, std::vector<QByteArray>& names,
               QString& reason) {
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
        const QByteArrayView name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        struct stat info {};
        const bool isFolder =
            ::fstatat(::dirfd(dir.get()), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
        if (isFolder == folders)
            names.emplace_back(entry->d_name);
    }
    if (errno != 0) {
        reason = systemError(errno);
        return false;
    }
    return true;
}
} // namespace

bool makeFolder(const QByteArray& path, QString& reason, bool* existed) {
    const bool made = ::mkdir(path.constData(), 0777) == 0; // less the umask
    const int error = errno;
    if (existed != nullptr)
        *existed = !made && error == EEXIST;
    if (!made)
        reason = systemError(error);
    return made;
}

bool canCreateIn(const QByteArray& folder, QString& reason) {
    if (::access(folder.constData(), W_OK | X_OK) == 0)
        return true;
    reason = systemError(errno);
    return false;
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

namespace {
bool listNames(const QByteArray& folder, bool folders, std::vector<QByteArray>& names,
               QString& reason) {
    const QDir dir(QFile::decodeName(folder));
    if (!dir.exists() || !dir.isReadable()) {
        reason = QStringLiteral("cannot be read");
        return false;
    }
    const QDir::Filters kind = folders ? QDir::Dirs | QDir::NoDotAndDotDot : QDir::Files;
    const QStringList entries = dir.entryList(kind | QDir::System | QDir::Hidden, QDir::NoSort);
    for (const QString& entry : entries)
        names.push_back(QFile::encodeName(entry));
    return true;
}
} // namespace

bool makeFolder(const QByteArray& path, QString& reason, bool* existed) {
    const QString name = QFile::decodeName(path);
    const bool there = QFileInfo::exists(name);
    if (existed != nullptr)
        *existed = there;
    if (!there && QDir().mkdir(name))
        return true;
    reason = there ? QStringLiteral("File exists") : QStringLiteral("cannot be created");
    return false;
}

bool canCreateIn(const QByteArray& folder, QString& reason) {
    if (QFileInfo(QFile::decodeName(folder)).isWritable())
        return true;
    reason = QStringLiteral("Permission denied");
    return false;
}

#endif

bool listFiles(const QByteArray& folder, std::vector<QByteArray>& names, QString& reason) {
    return listNames(folder, false, names, reason);
}

bool listFolders(const QByteArray& folder, std::vector<QByteArray>& names, QString& reason) {
    return listNames(folder, true, names, reason);
}

bool makeFolders(const QByteArray& path, QString& reason) {
    // Each folder from the top down; one that is there already is passed.
    for (qsizetype slash = path.indexOf('/', 1);; slash = path.indexOf('/', slash + 1)) {
        const QByteArray folder = slash < 0 ? path : path.left(slash);
        bool existed = false;
        QString why;
        if (!makeFolder(folder, why, &existed) && !existed) {
            reason = QStringLiteral("%1: %2").arg(QFile::decodeName(folder), why);
            return false;
        }
        if (slash < 0)
            break;
    }
    QString why;
    if (pathKind(path, why) != PathKind::Directory) {
        reason = QStringLiteral("%1: Not a directory").arg(QFile::decodeName(path));
        return false;
    }
    return true;
}

} // namespace platform
