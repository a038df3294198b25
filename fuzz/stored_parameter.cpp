// The reading of a stored parameter text, whatever the settings file holds:
// the text as UTF-8 and as Latin-1; a plain decimal number within 32 bits,
// after blanks, must read back as itself.

#include "detection/MotionDetection.h"

#include <QString>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    MotionDetection::ReadStoredValue(QString::fromLatin1(bytes));
    const QString text = QString::fromUtf8(bytes);
    const std::int32_t value = MotionDetection::ReadStoredValue(text);
    qsizetype blanks = 0;
    while (blanks < text.size() && (text[blanks] == u' ' || text[blanks] == u'\t'))
        ++blanks;
    bool plain = false;
    const std::int32_t number = text.mid(blanks).toInt(&plain);
    if (plain && text.mid(blanks) == QString::number(number) && value != number)
        std::abort();
    return 0;
}
