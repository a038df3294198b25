#include "platform/NewFile.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace platform {
namespace {
qint64& writeLimit() {
    static qint64 limit = -1;
    return limit;
}
} // namespace

qint64 NewFile::setWriteLimitForTesting(qint64 limit) {
    return std::exchange(writeLimit(), limit);
}

std::optional<NewFile> NewFile::create(const QString& path) {
    // O_EXCL fails on any existing name, links included, so nothing that
    // stands there is ever followed; O_NOFOLLOW says so twice.
    const QByteArray name = QFile::encodeName(path);
    const int descriptor =
        ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (descriptor < 0)
        return std::nullopt;
    return NewFile(descriptor);
}

NewFile::NewFile(NewFile&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)), written_(other.written_) {}

NewFile& NewFile::operator=(NewFile&& other) noexcept {
    if (this != &other) {
        close();
        descriptor_ = std::exchange(other.descriptor_, -1);
        written_ = other.written_;
    }
    return *this;
}

NewFile::~NewFile() {
    close();
}

qint64 NewFile::write(QByteArrayView data) {
    if (descriptor_ < 0)
        return 0;
    qint64 total = 0;
    while (total < data.size()) {
        qint64 chunk = data.size() - total;
        if (writeLimit() >= 0)
            chunk = std::min(chunk, writeLimit() - written_);
        if (chunk <= 0)
            break;
        const ssize_t n = ::write(descriptor_, data.data() + total, static_cast<size_t>(chunk));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break; // disk full or another write error
        total += n;
        written_ += n;
    }
    return total;
}

void NewFile::close() {
    if (descriptor_ >= 0)
        ::close(std::exchange(descriptor_, -1));
}

} // namespace platform
