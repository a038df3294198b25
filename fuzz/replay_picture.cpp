// Picture loading in the replay tool: any bytes as a picture file, read into
// a frame or refused with a reason; a frame read is always one whole
// 160 x 120 x 24-bit frame.

#include "capture/service/FrameLayout.h"
#include "fuzz/FuzzSupport.h"
#include "tools/replay/FrameFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::startQt();
    static const QTemporaryDir folder;
    // Qt picks the reader by content, so one name serves every format.
    static const QByteArray path = QFile::encodeName(folder.filePath(QStringLiteral("frame.img")));
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size))
        std::abort();
    file.close();
    std::vector<std::uint8_t> frame;
    QString error;
    const bool read = replay::readFrame(path, frame, error);
    if (read ? frame.size() != capture::FrameLayout{}.frameBytes() : error.isEmpty())
        std::abort();
    return 0;
}
