#include "platform/NewFile.h"

#include <QFile>
#include <algorithm>
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

std::optional<NewFile> NewFile::create(const QString& path, QString* reason) {
    // NewOnly fails on any existing name, links included (the system's
    // exclusive create), so nothing that stands there is ever followed.
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        if (reason != nullptr)
            *reason = file->errorString();
        return std::nullopt;
    }
    return NewFile(std::move(file));
}

NewFile::NewFile(std::unique_ptr<QFile> file) : file_(std::move(file)) {}
NewFile::NewFile(NewFile&& other) noexcept = default;
NewFile& NewFile::operator=(NewFile&& other) noexcept = default;
NewFile::~NewFile() = default;

qint64 NewFile::write(QByteArrayView data) {
    if (!file_)
        return 0;
    qint64 total = 0;
    while (total < data.size()) {
        qint64 chunk = data.size() - total;
        if (writeLimit() >= 0)
            chunk = std::min(chunk, writeLimit() - written_);
        if (chunk <= 0)
            break;
        const qint64 n = file_->write(data.data() + total, chunk);
        if (n <= 0)
            break; // disk full or another write error
        total += n;
        written_ += n;
    }
    return total;
}

void NewFile::close() {
    file_.reset();
}

} // namespace platform
