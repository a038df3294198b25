#include "record/HistoryFile.h"

#include "platform/Folders.h"
#include "platform/NativeFiles.h"
#include "platform/NativeWrites.h"

#include <QFile>

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

bool appendSeries(const QString& path, const Series& series, QString& error) {
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
    if (file.size() == 0) {
        text = headerLine().toUtf8() + '\n';
    } else {
        char last = 0;
        if (!file.seek(file.size() - 1) || !file.getChar(&last)) {
            error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
            return false;
        }
        if (last != '\n')
            text = "\n";
    }
    text += formatSeries(series).toUtf8() + '\n';
    const qint64 before = file.size();
    if (!platform::appendWhole(file, text, reason)) {
        error = QStringLiteral("cannot write %1: %2").arg(path, reason);
        file.resize(before); // a full disk may have taken part of the line
        return false;
    }
    return true;
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
        if (line.isEmpty() || (number == 1 && line == header))
            continue;
        QString problem;
        if (auto series = parseSeries(line, problem))
            history.series.push_back(*series);
        else
            damaged(problem);
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
