#include "platform/IniText.h"

#include <QByteArrayView>

namespace platform {

namespace {

constexpr QByteArrayView ByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Where a key stands in its section, as byte offsets into the content.
struct Place {
    qsizetype valueStart = -1; // after the '=' of the key's last line
    qsizetype valueEnd = -1;   // the end of that line, before "\r\n" or "\n"
    qsizetype sectionEnd = -1; // after the last header or key line of the section
};

Place locate(const QByteArray& content, QByteArrayView section, QByteArrayView key) {
    Place place;
    bool inSection = false;
    // A byte order mark (some editors write one) is no part of the first
    // line; it stays in the file as it is.
    qsizetype start = content.startsWith(ByteOrderMark) ? ByteOrderMark.size() : 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        const qsizetype next = end < 0 ? content.size() : end + 1;
        if (end < 0)
            end = content.size();
        if (end > start && content[end - 1] == '\r')
            --end;
        const QByteArrayView line = QByteArrayView(content).sliced(start, end - start);
        const QByteArrayView text = line.trimmed();
        if (text.startsWith('[')) {
            const qsizetype close = text.indexOf(']');
            inSection = close > 0 && text.sliced(1, close - 1).trimmed() == section;
            if (inSection)
                place.sectionEnd = next;
        } else if (inSection && !text.isEmpty() && !text.startsWith(';') && !text.startsWith('#')) {
            place.sectionEnd = next;
            const qsizetype equals = line.indexOf('=');
            if (equals > 0 && line.first(equals).trimmed() == key) {
                place.valueStart = start + equals + 1;
                place.valueEnd = end;
            }
        }
        start = next;
    }
    return place;
}

// QSettings' way of writing a text: quoted where blanks at either end or a
// separator would otherwise be lost, '@' doubled at the start.
std::optional<QString> unescaped(QByteArrayView raw) {
    QByteArrayView text = raw.trimmed();
    if (text.startsWith('@')) {
        if (text.startsWith("@@"))
            text = text.sliced(1);
        else if (text.startsWith("@String(") && text.endsWith(')'))
            text = text.sliced(8, text.size() - 9);
        else
            return std::nullopt; // a stored object, no text
    }
    QByteArray out;
    qsizetype kept = 0; // blanks outside quotes at the end are dropped
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (c == ';' && !quoted)
            break; // a comment follows
        if (c == '\\' && i + 1 < text.size()) {
            c = text[++i];
            c = c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
            out += c;
            kept = out.size();
            continue;
        }
        out += c;
        if (quoted || !isBlank(c))
            kept = out.size();
    }
    out.truncate(kept);
    return QString::fromUtf8(out);
}

QByteArray escaped(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    bool quote = !bytes.isEmpty() && (isBlank(bytes.front()) || isBlank(bytes.back()));
    QByteArray out;
    if (bytes.startsWith('@'))
        out += '@';
    for (const char c : bytes) {
        switch (c) {
        case '"':
        case '\\':
            out += '\\';
            out += c;
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case ';':
        case ',':
            quote = true;
            out += c;
            break;
        default:
            out += c;
        }
    }
    return quote ? '"' + out + '"' : out;
}

} // namespace

std::optional<QString> iniValue(const QByteArray& content, const QByteArray& section,
                                const QByteArray& key) {
    const Place place = locate(content, section, key);
    if (place.valueStart < 0)
        return std::nullopt;
    return unescaped(
        QByteArrayView(content).sliced(place.valueStart, place.valueEnd - place.valueStart));
}

QByteArray withIniValue(const QByteArray& content, const QByteArray& section, const QByteArray& key,
                        const QString& text) {
    const Place place = locate(content, section, key);
    QByteArray result = content;
    if (place.valueStart >= 0)
        return result.replace(place.valueStart, place.valueEnd - place.valueStart, escaped(text));
    const QByteArray eol = content.contains("\r\n") ? "\r\n" : "\n";
    const QByteArray line = key + '=' + escaped(text) + eol;
    if (place.sectionEnd >= 0) {
        qsizetype at = place.sectionEnd;
        if (result[at - 1] != '\n') {
            result.insert(at, eol);
            at += eol.size();
        }
        return result.insert(at, line);
    }
    if (!result.isEmpty() && QByteArrayView(result) != ByteOrderMark) // a blank line first
        result += result.endsWith('\n') ? eol : eol + eol;
    return result + '[' + section + ']' + eol + line;
}

} // namespace platform
