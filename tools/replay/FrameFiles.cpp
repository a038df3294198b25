#include "tools/replay/FrameFiles.h"

#include "capture/service/FrameConversion.h"
#include "platform/NativeFiles.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QStringDecoder>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace replay {

namespace {

bool isPictureName(const QByteArray& name, const QList<QByteArray>& suffixes) {
    const qsizetype dot = name.lastIndexOf('.');
    return !name.startsWith('.') && dot > 0 && suffixes.contains(name.mid(dot + 1).toLower());
}

bool listDirectory(const QByteArray& path, std::vector<QByteArray>& files, QString& error) {
    std::vector<QByteArray> entries;
    QString reason;
    if (!platform::listFiles(path, entries, reason)) {
        error = QStringLiteral("cannot read directory '%1': %2").arg(displayName(path), reason);
        return false;
    }
    // Anything named as a picture is a frame, and is refused with its reason
    // when it comes to be read.
    const QList<QByteArray> suffixes = QImageReader::supportedImageFormats();
    std::vector<QByteArray> names;
    std::copy_if(entries.begin(), entries.end(), std::back_inserter(names),
                 [&](const QByteArray& name) { return isPictureName(name, suffixes); });
    if (names.empty()) {
        error = QStringLiteral("no image files in directory '%1'").arg(displayName(path));
        return false;
    }
    std::sort(names.begin(), names.end()); // byte order: the same in every locale
    const QByteArray folder = path.endsWith('/') ? path : path + '/';
    for (const QByteArray& name : names)
        files.push_back(folder + name);
    return true;
}

// Qt's JPEG reader fills a picture that ends early with grey and says so
// only in a warning; this catches the warnings of the pictures this thread
// reads. One handler serves every thread, installed once: pictures are read
// on several threads at a time, and handlers swapped in and out by each
// would be put back in the wrong order.
class WarningCatcher {
public:
    WarningCatcher() {
        static const QtMessageHandler installed = [] {
            previous() = qInstallMessageHandler(&keep);
            return previous();
        }();
        (void)installed;
        caught().clear();
        catching() = true;
    }
    ~WarningCatcher() { catching() = false; }
    WarningCatcher(const WarningCatcher&) = delete;
    WarningCatcher& operator=(const WarningCatcher&) = delete;

    static bool sawEarlyEnd() {
        return caught().contains(QLatin1String("premature end"), Qt::CaseInsensitive);
    }

private:
    static QString& caught() {
        thread_local QString text;
        return text;
    }
    static bool& catching() {
        thread_local bool on = false;
        return on;
    }
    static QtMessageHandler& previous() {
        static QtMessageHandler handler = nullptr;
        return handler;
    }
    static void keep(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (catching())
            caught() += message + QLatin1Char('\n');
        else if (previous() != nullptr)
            previous()(type, context, message);
        else
            std::fprintf(stderr, "%s\n", qPrintable(message));
    }
};

QByteArray formatHint(const QByteArray& name) {
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? QByteArray() : name.mid(dot + 1).toLower();
}

// Two fills that differ in every bit; the first, with no alpha, is no pixel
// a reader of opaque pictures ever writes.
constexpr uint FirstFill = 0x00a55a3cU;
constexpr uint SecondFill = 0x005aa5c3U;

// Reads the picture from the start of the file into a picture filled with
// fill beforehand; filled tells whether the reader kept that picture (most
// do), so a pixel it never wrote still holds the fill. Empty, or why not.
QString readFilled(QIODevice& file, const QByteArray& hint, uint fill, QImage& picture,
                   bool& filled) {
    file.seek(0);
    // The name's suffix is a hint that saves asking every image plugin;
    // content that does not match it is still recognised.
    QImageReader reader(&file, hint);
    const QSize size = reader.size();
    const QImage::Format format = reader.imageFormat();
    const qint64 limit = qint64{QImageReader::allocationLimit()} * 1024 * 1024;
    if (size.isValid() && format != QImage::Format_Invalid &&
        qint64{size.width()} * size.height() * 4 <= limit) {
        // The picture before, of the same size, is filled again rather than
        // made anew: a recording's frames all have one size.
        if (picture.size() != size || picture.format() != format || !picture.isDetached())
            picture = QImage(size, format);
        picture.fill(fill);
    } else {
        picture = QImage();
    }
    const uchar* const before = picture.isNull() ? nullptr : picture.constBits();
    if (!reader.read(&picture))
        return reader.errorString();
    filled = before != nullptr && picture.constBits() == before;
    return {};
}

bool holdsFill(const QImage& picture, uint fill) {
    const int bytes = picture.depth() / 8;
    if (bytes == 0)
        return true; // pixels smaller than a byte: a second read tells
    QImage one(1, 1, picture.format());
    one.fill(fill);
    if (bytes == 4) { // the usual case, a word at a time
        quint32 word = 0;
        std::memcpy(&word, one.constBits(), sizeof word);
        for (int y = 0; y < picture.height(); ++y) {
            const auto* line = reinterpret_cast<const quint32*>(picture.constScanLine(y));
            if (std::find(line, line + picture.width(), word) != line + picture.width())
                return true;
        }
        return false;
    }
    for (int y = 0; y < picture.height(); ++y) {
        const uchar* line = picture.constScanLine(y);
        for (qsizetype x = 0; x < qsizetype{picture.width()} * bytes; x += bytes) {
            if (std::memcmp(line + x, one.constBits(), bytes) == 0)
                return true;
        }
    }
    return false;
}

// Bit for bit: two indexes of a colour table may hold the same colour.
bool samePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.format() != b.format())
        return false;
    const qsizetype used = qsizetype{a.width()} * a.depth() / 8;
    for (int y = 0; y < a.height(); ++y) {
        if (a.depth() >= 8) {
            if (std::memcmp(a.constScanLine(y), b.constScanLine(y), used) != 0)
                return false;
            continue;
        }
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixelIndex(x, y) != b.pixelIndex(x, y))
                return false;
        }
    }
    return true;
}

QString damagedPicture() {
    return QStringLiteral("the picture is damaged or ends early");
}

// Qt's readers of BMP, PNG and others hand out a picture cut short, its
// missing part never written; a pixel that holds the fill after a second
// read with another fill was never written.
QString decode(QIODevice& file, const QByteArray& hint, QImage& picture) {
    const WarningCatcher warnings;
    bool filled = false;
    QString why = readFilled(file, hint, FirstFill, picture, filled);
    if (!why.isEmpty())
        return why;
    if (WarningCatcher::sawEarlyEnd())
        return damagedPicture();
    if (filled && holdsFill(picture, FirstFill)) {
        QImage again;
        why = readFilled(file, hint, SecondFill, again, filled);
        if (!why.isEmpty())
            return why;
        if (!samePixels(again, picture))
            return damagedPicture();
    }
    return {};
}

} // namespace

bool listFrameFiles(const std::vector<QByteArray>& paths, std::vector<QByteArray>& files,
                    QString& error) {
    for (const QByteArray& path : paths) {
        QString reason;
        const platform::PathKind kind = platform::pathKind(path, reason);
        if (kind == platform::PathKind::Missing) {
            error = QStringLiteral("cannot read '%1': %2").arg(displayName(path), reason);
            return false;
        }
        if (kind != platform::PathKind::Directory)
            files.push_back(path);
        else if (!listDirectory(path, files, error))
            return false;
    }
    return true;
}

bool readFrame(const QByteArray& path, std::vector<std::uint8_t>& frame, QString& error) {
    const auto refuse = [&](const QString& why) {
        error = QStringLiteral("cannot read image '%1': %2").arg(displayName(path), why);
        return false;
    };
    QFile file;
    QString why;
    if (!platform::openRegularFile(path, file, why))
        return refuse(why);
    // Kept: this thread's next picture is read into the same memory.
    thread_local QImage picture;
    // A picture of usual size is read with one call, and decoded from memory.
    constexpr qint64 WholeFileLimit = 64 * 1024 * 1024;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QIODevice* source = &file;
    if (file.size() <= WholeFileLimit) {
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return refuse(file.errorString());
        buffer.open(QIODevice::ReadOnly);
        source = &buffer;
    }
    why = decode(*source, formatHint(path), picture);
    if (!why.isEmpty())
        return refuse(why);
    capture::convertImage(picture, capture::FrameLayout{}, frame);
    return true;
}

QString displayName(const QByteArray& path) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(path);
    if (!decoder.hasError())
        return text;
    text.clear();
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        text += byte < 0x80 ? QString(QLatin1Char(c))
                            : QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
    return text;
}

} // namespace replay
