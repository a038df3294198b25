#include "platform/NativeWrites.h"

#include "platform/NativeFiles.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#else
#include <QSaveFile>
#endif

namespace platform {

#ifdef Q_OS_UNIX

namespace {

// An open file descriptor, closed when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes it now: a late write error (a full disk on some file systems)
    // shows only here.
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

// All of data, or the error number of the write that failed.
int writeAll(int fd, QByteArrayView data) {
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, static_cast<size_t>(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        done += n;
    }
    return 0;
}

// The folder part of a path: "." for a bare name.
QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

} // namespace

bool writeNewFile(const QByteArray& path, QByteArrayView data, QString& reason) {
    // O_EXCL fails on any name that stands there, a link included.
    Descriptor file(::open(
        path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
    if (file.get() < 0) {
        reason = systemError(errno);
        return false;
    }
    int error = writeAll(file.get(), data);
    if (!file.close() && error == 0)
        error = errno;
    if (error == 0)
        return true;
    ::unlink(path.constData());
    reason = systemError(error);
    return false;
}

bool replaceFile(const QByteArray& path, QByteArrayView data, QString& reason) {
    QByteArray target = path;
    struct stat info {};
    if (::lstat(path.constData(), &info) == 0 && S_ISLNK(info.st_mode)) {
        const std::unique_ptr<char, void (*)(void*)> resolved(::realpath(path.constData(), nullptr),
                                                              &std::free);
        if (resolved) // a dangling link is replaced itself
            target = resolved.get();
    }
    const bool keepMode = ::stat(target.constData(), &info) == 0 && S_ISREG(info.st_mode);

    // Beside the target, so the rename never crosses file systems.
    const QByteArray folder = folderOf(target);
    const QByteArray base = target.mid(target.lastIndexOf('/') + 1);
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = folder + "/." + base + '.' +
                    QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd = ::open(temporary.constData(),
                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        reason = systemError(errno);
        return false;
    }
    Descriptor file(fd);
    int error = writeAll(fd, data);
    if (error == 0 && keepMode && ::fchmod(fd, info.st_mode & 07777) != 0)
        error = errno;
    // On the disk before it takes the old file's place.
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (!file.close() && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error == 0)
        return true;
    ::unlink(temporary.constData());
    reason = systemError(error);
    return false;
}

bool openRegularFileForAppend(const QByteArray& path, QFile& file, QString& reason) {
    // O_NONBLOCK: a FIFO in the file's place is refused below, never waited on.
    const int fd =
        ::open(path.constData(), O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        reason = systemError(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        reason = QStringLiteral("not a regular file");
        return false;
    }
    return file.open(fd, QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered,
                     QFileDevice::AutoCloseHandle);
}

bool appendWhole(QFile& file, QByteArrayView data, QString& reason) {
    // Qt's own write answers a count cut short by a full disk without its
    // reason; the system's call says why.
    if (const int error = writeAll(file.handle(), data); error != 0) {
        reason = systemError(error);
        return false;
    }
    return true;
}

#else

// Elsewhere names are Unicode, which Qt keeps whole.
bool writeNewFile(const QByteArray& path, QByteArrayView data, QString& reason) {
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        reason = file.errorString();
        return false;
    }
    if (file.write(data.data(), data.size()) == data.size() && file.flush())
        return true;
    reason = file.errorString();
    file.remove();
    return false;
}

bool replaceFile(const QByteArray& path, QByteArrayView data, QString& reason) {
    QSaveFile file(QFile::decodeName(path));
    if (file.open(QIODevice::WriteOnly) && file.write(data.data(), data.size()) == data.size() &&
        file.commit())
        return true;
    reason = file.errorString();
    return false;
}

bool openRegularFileForAppend(const QByteArray& path, QFile& file, QString& reason) {
    QString why;
    const PathKind kind = pathKind(path, why);
    if (kind != PathKind::Missing && kind != PathKind::RegularFile) {
        reason = QStringLiteral("not a regular file");
        return false;
    }
    file.setFileName(QFile::decodeName(path));
    if (file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered))
        return true;
    reason = file.errorString();
    return false;
}

bool appendWhole(QFile& file, QByteArrayView data, QString& reason) {
    if (file.write(data.data(), data.size()) == data.size())
        return true;
    reason = file.errorString();
    return false;
}

#endif

} // namespace platform
