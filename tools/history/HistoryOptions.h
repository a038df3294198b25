#pragma once
// The history tool's command line.

#include <QDate>
#include <QString>
#include <QStringList>

namespace history {

struct HistoryOptions {
    int last = 0; // 0: every series
    QDate since;  // null: from the first series
    QString plot; // a .png or .svg file; empty: no plot
    bool csv = false;
    bool help = false;
    bool version = false;
    QString file; // empty: the program's own history file
};

// Parses the arguments after the program name; on a problem answers false
// with a message that names it.
bool parseOptions(const QStringList& arguments, HistoryOptions& options, QString& error);

QString usageText();
// "vantorel-history 1.58"
QString versionText();

} // namespace history
