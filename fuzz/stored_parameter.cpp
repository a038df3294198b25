// A stored parameter from whatever the settings file holds: its value read
// out of any file content and then as a number (a plain decimal number,
// after blanks, reads back as itself), and a value written into that content
// reads back as written while the other parameters keep theirs.

#include "detection/MotionDetection.h"
#include "fuzz/FuzzInput.h"
#include "platform/IniText.h"

#include <QString>
#include <cstdlib>

namespace {

const QByteArray Section = QByteArrayLiteral("Settings");

void readNumber(const QString& text) {
    const std::int32_t value = MotionDetection::readStoredValue(text);
    qsizetype blanks = 0;
    while (blanks < text.size() && (text[blanks] == u' ' || text[blanks] == u'\t'))
        ++blanks;
    bool plain = false;
    const std::int32_t number = text.mid(blanks).toInt(&plain);
    if (plain && text.mid(blanks) == QString::number(number) && value != number)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const auto written = in.take<std::int32_t>();
    const auto rest = in.remaining();
    const QByteArray content(reinterpret_cast<const char*>(rest.data()),
                             static_cast<qsizetype>(rest.size()));
    readNumber(QString::fromUtf8(content));
    readNumber(QString::fromLatin1(content));

    const QByteArray tolerance = QByteArrayLiteral("Tolerance");
    const QByteArray maxBeam = QByteArrayLiteral("MaxLaserBeam");
    if (const auto stored = platform::iniValue(content, Section, tolerance))
        readNumber(*stored);
    // As the parameter setters write it: a blank before a number of 0 or more.
    const QString text =
        (written >= 0 ? QStringLiteral(" ") : QString()) + QString::number(written);
    const QByteArray changed = platform::withIniValue(content, Section, tolerance, text);
    if (platform::iniValue(changed, Section, tolerance) != text ||
        platform::iniValue(changed, Section, maxBeam) !=
            platform::iniValue(content, Section, maxBeam))
        std::abort();
    return 0;
}
