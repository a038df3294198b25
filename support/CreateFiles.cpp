#include "support/CreateFiles.h"

#include "platform/Folders.h"
#include "platform/MessageBox.h"
#include "platform/NewFile.h"
#include "platform/ResourceReader.h"
#include "platform/Shell.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>

namespace CreateFiles {
namespace {
constexpr int FontResource = 100;
constexpr int HelpResource = 101;
// A font file larger than this is not ours; it is not read in.
constexpr qint64 LargestFontFile = qint64{16} * 1024 * 1024;

// Kept until the program ends, like every buffer read from the resources.
QByteArray FontData;
QByteArray HelpData;

QString FontFilePath() {
    return FontsFolder() + u'/' + QLatin1String(FontFileName);
}
QString HelpFilePath() {
    return WindowsFolder() + u'/' + QLatin1String(HelpFileName);
}

enum class WriteResult { Written, NotCreated, ShortWrite };

// Creates path only if nothing stands there, writes data whole and closes
// it. A short write leaves no partial file behind, so that the next attempt
// writes it whole instead of keeping a damaged file for good.
WriteResult writeNewFile(const QString& path, const QByteArray& data, QString* reason = nullptr) {
    // The folder may not exist yet in a fresh home; a failure here shows up
    // as a file that cannot be created.
    QDir().mkpath(QFileInfo(path).absolutePath());
    auto file = platform::NewFile::create(path, reason);
    if (!file)
        return WriteResult::NotCreated; // taken, or the folder cannot be written
    const qint64 written = file->write(data);
    file->close();
    if (written == data.size())
        return WriteResult::Written;
    QFile::remove(path);
    return WriteResult::ShortWrite;
}

void showCreateError(const QString& fileName) {
    platform::MessageRequest request;
    request.text = QStringLiteral("Error creating ") + fileName;
    platform::showMessage(request);
}

// A font file found in place from an earlier run is normally known through
// fontconfig, which reads the fonts folder. Where it is not (a stale font
// cache, a data folder fontconfig is not told about), register it for this
// run, so the display font works on every start and not only on the first.
// Only a plain file is read: a link or a device in its place is left alone.
void useExistingFont(const QString& path) {
    if (QFontDatabase::families().contains(QLatin1String(FontFamily)))
        return;
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile() || info.size() > LargestFontFile)
        return;
    QFontDatabase::addApplicationFont(path);
}
} // namespace

QString WindowsFolder() {
    return platform::dataFolder();
}
QString FontsFolder() {
    return platform::fontsFolder();
}

void LoadFontData() {
    FontData = platform::resourceData(FontResource, QStringLiteral("BIN"));
}
void LoadHelpData() {
    HelpData = platform::resourceData(HelpResource, QStringLiteral("BIN"));
}
std::int32_t FontLength() {
    return static_cast<std::int32_t>(FontData.size());
}
std::int32_t HelpLength() {
    return static_cast<std::int32_t>(HelpData.size());
}

void InstallFont() {
    LoadFontData();
    if (FontData.isEmpty())
        return; // nothing carried: an empty file would stand in the way for good
    switch (writeNewFile(FontFilePath(), FontData)) {
    case WriteResult::Written:
        // Registration reads the file, so it comes after the close.
        QFontDatabase::addApplicationFont(FontFilePath());
        break;
    case WriteResult::NotCreated:
        useExistingFont(FontFilePath());
        break;
    case WriteResult::ShortWrite:
        showCreateError(QLatin1String(FontFileName));
        break;
    }
}

void WriteHelpFile() {
    LoadHelpData();
    if (HelpData.isEmpty())
        return;
    if (writeNewFile(HelpFilePath(), HelpData) == WriteResult::ShortWrite)
        showCreateError(QLatin1String(HelpFileName));
}

QString helpPagesFolder() {
    return WindowsFolder() + u'/' + QLatin1String(HelpPagesFolderName);
}

namespace {
// Writes the pages that are missing; answers why a page could not be
// created, empty when each is there.
QString writePages() {
    const QString folder = helpPagesFolder();
    // Each page is created without following a link, but a link standing
    // for the folder would lead the pages elsewhere: it is left alone.
    if (QFileInfo(folder).isSymLink())
        return QStringLiteral("a symbolic link stands in its place");
    QString problem;
    for (const platform::HelpPage& page : platform::helpPages()) {
        const QString path = folder + u'/' + page.name;
        QString reason;
        const WriteResult result = writeNewFile(path, page.data, &reason);
        if (result == WriteResult::ShortWrite)
            showCreateError(page.name);
        else if (result == WriteResult::NotCreated && !QFileInfo(path).isFile() &&
                 problem.isEmpty())
            problem = reason;
    }
    return problem;
}

void showMessage(const QString& text) {
    platform::MessageRequest request;
    request.text = text;
    platform::showMessage(request);
}

QString startPagePath() {
    return helpPagesFolder() + u'/' + QLatin1String(HelpStartPage);
}

// Neither the pages nor the help file could be shown: say why.
void showNotOpened(const QString& problem) {
    if (!QFileInfo(startPagePath()).isFile()) {
        showMessage(
            QStringLiteral("The help pages could not be written to %1: %2.")
                .arg(QDir::toNativeSeparators(helpPagesFolder()),
                     problem.isEmpty() ? QStringLiteral("the start page is missing") : problem));
        return;
    }
    showMessage(QStringLiteral("No program to show the help was found.\nInstall a web browser "
                               "and xdg-utils, or a viewer for Compiled HTML Help.\nThe help "
                               "pages start at %1\nThe help file is %2")
                    .arg(QDir::toNativeSeparators(startPagePath()),
                         QDir::toNativeSeparators(HelpFilePath())));
}

// The browser could not show the pages: the help file, where the desktop
// already names a viewer for it (platform::openFile hands over no file
// whose type has no program, and none that is not there).
void openHelpFile(const QString& problem) {
    platform::openFile(HelpFilePath(), [problem](bool opened) {
        if (!opened)
            showNotOpened(problem);
    });
}
} // namespace

void writeHelpPages() {
    writePages();
}

void OpenHelp() {
    WriteHelpFile();
    const QString problem = writePages();
    // The pages in the web browser first: every desktop has one, and the
    // printable targets the pages link to open there too. The desktop is
    // asked without waiting; its answer comes from the event loop.
    if (!QFileInfo(startPagePath()).isFile()) {
        openHelpFile(problem);
        return;
    }
    platform::openFile(startPagePath(), [problem](bool opened) {
        if (!opened)
            openHelpFile(problem);
    });
}

} // namespace CreateFiles
