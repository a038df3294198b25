#pragma once
// A file created only where nothing stands yet: an existing file, or a link
// in its place (even a dangling one), is never opened, followed or changed.
// Closed when the object goes.

#include <QByteArrayView>
#include <QString>
#include <memory>
#include <optional>

class QFile;

namespace platform {

class NewFile {
public:
    // The new, empty file opened for writing, or nothing when the path is
    // taken or cannot be created (missing or unwritable folder), with the
    // system's reason in `reason` when one is given.
    static std::optional<NewFile> create(const QString& path, QString* reason = nullptr);

    NewFile(NewFile&& other) noexcept;
    NewFile& operator=(NewFile&& other) noexcept;
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;
    ~NewFile();

    // Writes all of data, or as much as the disk takes; answers the count
    // written.
    qint64 write(QByteArrayView data);
    void close();

    // Tests (through a SeamGuard): at most this many bytes go into each new
    // file, as on a full disk; negative lifts the limit. Answers the old one.
    static qint64 setWriteLimitForTesting(qint64 limit);

private:
    explicit NewFile(std::unique_ptr<QFile> file);
    std::unique_ptr<QFile> file_; // null once closed
    qint64 written_ = 0;
};

} // namespace platform
