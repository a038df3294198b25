#include "record/HistoryFile.h"

#include "platform/Folders.h"
#include "platform/NativeFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace record {

QString HistoryPath() {
    return platform::dataFolder() + QStringLiteral("/Vantorel/history.csv");
}

bool AppendSeries(const QString& path, const Series& series, QString& error) {
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        error = QStringLiteral("cannot create the folder %1").arg(info.absolutePath());
        return false;
    }
    QByteArray text;
    QFile file(path);
    // Append: two programs finishing a series at once still write whole lines.
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered)) {
        error = QStringLiteral("cannot open %1: %2").arg(path, file.errorString());
        return false;
    }
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
    if (file.write(text) != text.size()) {
        error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        file.resize(before); // a full disk may have taken part of the line
        return false;
    }
    return true;
}

bool readHistory(const QString& path, History& history, QString& error) {
    QFile file;
    QString reason;
    // A FIFO or a folder given as the history is refused, never waited on.
    if (!platform::openRegularFile(QFile::encodeName(path), file, reason)) {
        error = QStringLiteral("cannot read %1: %2").arg(path, reason);
        return false;
    }
    const QString header = headerLine();
    qsizetype number = 0;
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine()).trimmed();
        ++number;
        if (number == 1 && line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1); // the byte order mark some spreadsheets write
        if (line.isEmpty() || (number == 1 && line == header))
            continue;
        QString problem;
        if (auto series = parseSeries(line, problem))
            history.series.push_back(*series);
        else
            history.damaged.push_back({number, problem});
    }
    return true;
}

} // namespace record
