#include "record/HistoryFile.h"

#include "platform/Folders.h"
#include "platform/NativeFiles.h"
#include "platform/NativeWrites.h"

#include <QFile>
#include <algorithm>
#include <functional>

namespace record {

namespace {

// A series' line is some 300 bytes; a longer line is no series, and holding
// it whole would let one damaged line take any amount of memory.
constexpr qint64 LongestLine = 4096;
// Each damaged line is listed up to here, and only counted after.
constexpr std::size_t DamagedListed = 100;

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray(slash == 0 ? "/" : ".") : path.left(slash);
}

// The next line without its end, at most LongestLine bytes; `tooLong` when
// there was more, which is read past and dropped. (Qt's readLine(n) reads
// at most n - 1 bytes: here a longest line and its end.)
QByteArray nextLine(QFile& file, bool& tooLong) {
    QByteArray line = file.readLine(LongestLine + 2);
    tooLong = line.size() > LongestLine && !line.endsWith('\n');
    if (tooLong) {
        while (!line.isEmpty() && !line.endsWith('\n'))
            line = file.readLine(LongestLine + 2);
        return {};
    }
    if (line.endsWith('\n'))
        line.chop(1);
    return line;
}

} // namespace

QString historyPath() {
    return platform::dataFolder() + QStringLiteral("/Vantorel/history.csv");
}

namespace {

// The last line of an open file without its end; empty when it has none or
// it is longer than any the history writes.
QByteArray lastLine(QFile& file) {
    const qint64 size = file.size();
    const qint64 from = std::max<qint64>(0, size - LongestLine - 2);
    if (!file.seek(from))
        return {};
    QByteArray tail = file.read(size - from);
    if (tail.endsWith('\n'))
        tail.chop(1);
    const qsizetype start = tail.lastIndexOf('\n');
    if (start < 0 && from > 0)
        return {};
    return tail.mid(start + 1);
}

// Appends text to the history, creating folder and file with the series'
// header; before it, when the file's last line does not satisfy keepsColumns,
// the header line `columns`.
bool appendText(const QString& path, const QByteArray& line, const QByteArray& columns,
                const std::function<bool(const QByteArray&)>& keepsColumns, QString& error) {
    const QByteArray native = QFile::encodeName(path);
    QString reason;
    if (!platform::makeFolders(folderOf(native), reason)) {
        error = QStringLiteral("cannot create the folder %1").arg(reason);
        return false;
    }
    QFile file;
    // Append: two programs finishing a series at once still write whole
    // lines. Only a regular file: a FIFO would take the line and lose it, or
    // hold the window once full.
    if (!platform::openRegularFileForAppend(native, file, reason)) {
        error = QStringLiteral("cannot open %1: %2").arg(path, reason);
        return false;
    }
    QByteArray text;
    QByteArray last;
    if (file.size() == 0) {
        text = headerLine().toUtf8() + '\n';
        last = headerLine().toUtf8();
    } else {
        char end = 0;
        if (!file.seek(file.size() - 1) || !file.getChar(&end)) {
            error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
            return false;
        }
        if (end != '\n')
            text = "\n";
        if (!columns.isEmpty())
            last = lastLine(file);
    }
    if (!columns.isEmpty() && !keepsColumns(last.trimmed()))
        text += columns + '\n';
    text += line + '\n';
    const qint64 before = file.size();
    if (!platform::appendWhole(file, text, reason)) {
        error = QStringLiteral("cannot write %1: %2").arg(path, reason);
        file.resize(before); // a full disk may have taken part of the line
        return false;
    }
    return true;
}

} // namespace

bool appendSeries(const QString& path, const Series& series, QString& error) {
    return appendText(path, formatSeries(series).toUtf8(), {}, {}, error);
}

bool appendTimedString(const QString& path, const TimedString& string, QString& error) {
    const QByteArray columns = timedHeaderLine().toUtf8();
    return appendText(
        path, formatTimedString(string).toUtf8(), columns,
        [&columns](const QByteArray& last) {
            return last == columns || last.count(',') + 1 == timedFieldCount();
        },
        error);
}

bool readHistory(const QByteArray& path, History& history, QString& error) {
    QFile file;
    QString reason;
    // A FIFO or a folder given as the history is refused, never waited on.
    if (!platform::openRegularFile(path, file, reason)) {
        error = QStringLiteral("cannot read %1: %2").arg(QFile::decodeName(path), reason);
        return false;
    }
    const QString header = headerLine();
    const QString timedHeader = timedHeaderLine();
    qsizetype number = 0;
    const auto damaged = [&history, &number](const QString& problem) {
        if (history.damaged.size() < DamagedListed)
            history.damaged.push_back({number, problem});
        ++history.damagedCount;
    };
    while (!file.atEnd()) {
        bool tooLong = false;
        const QByteArray bytes = nextLine(file, tooLong);
        ++number;
        if (tooLong) {
            damaged(QStringLiteral("longer than %1 bytes").arg(LongestLine));
            continue;
        }
        QString line = QString::fromUtf8(bytes).trimmed();
        if (number == 1 && line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1); // the byte order mark some spreadsheets write
        if (line.isEmpty() || (number == 1 && line == header) || line == timedHeader)
            continue;
        QString problem;
        if (line.count(QLatin1Char(',')) + 1 == timedFieldCount()) {
            if (auto string = parseTimedString(line, problem))
                history.strings.push_back(std::move(*string));
            else
                damaged(problem);
        } else if (auto series = parseSeries(line, problem)) {
            history.series.push_back(*series);
        } else {
            damaged(problem);
        }
    }
    if (file.error() != QFileDevice::NoError) {
        error =
            QStringLiteral("cannot read %1: %2").arg(QFile::decodeName(path), file.errorString());
        return false;
    }
    return true;
}

bool readHistory(const QString& path, History& history, QString& error) {
    return readHistory(QFile::encodeName(path), history, error);
}

} // namespace record
