#include "platform/ResourceReader.h"

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QPixmap>

#include <array>

namespace platform {
namespace {

struct RawResource {
    const char* type;
    int id;
    const char* path;
};

// The embedded files live in the resources library under ":/"; the reader
// finds them at run time, so this library does not link that one.
constexpr std::array<RawResource, 8> kRawResources{{
    {"WAVE", 100, ":/sounds/shot.wav"},
    {"WAVE", 101, ":/sounds/ready.wav"},
    {"WAVE", 102, ":/sounds/next.wav"},
    {"WAVE", 103, ":/sounds/finish.wav"},
    {"WAVE", 104, ":/sounds/start.wav"},
    {"WAVE", 105, ":/sounds/par.wav"},
    {"BIN", 100, ":/font/LCDFont.ttf"},
    {"BIN", 101, ":/help/Vantorel.chm"},
}};

constexpr int kHandHotSpotX = 12;
constexpr int kHandHotSpotY = 9;

QByteArray ReadWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

const char* PicturePath(Picture picture) {
    switch (picture) {
    case Picture::Background:
        return ":/pictures/background.png";
    case Picture::Target:
        return ":/pictures/target.png";
    case Picture::Icon:
        return ":/pictures/icon.png";
    case Picture::AboutPistol:
        return ":/pictures/about_pistol.png";
    }
    return nullptr;
}

} // namespace

std::vector<HelpPage> helpPages() {
    const QString folder = QStringLiteral(":/helppages/");
    std::vector<HelpPage> pages;
    for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::Name))
        pages.push_back({name, ReadWhole(folder + name)});
    return pages;
}

QByteArray resourceData(int id, const QString& type) {
    // Type names compare case-sensitively, as the resource types are stored.
    for (const RawResource& resource : kRawResources) {
        if (resource.id == id && type == QLatin1String(resource.type)) {
            return ReadWhole(QString::fromLatin1(resource.path));
        }
    }
    return {};
}

QPixmap resourcePicture(Picture picture) {
    const char* path = PicturePath(picture);
    return path ? QPixmap(QString::fromLatin1(path)) : QPixmap();
}

QCursor handCursor() {
    const QPixmap hand(QStringLiteral(":/pictures/hand_cursor.png"));
    if (hand.isNull()) {
        return QCursor(Qt::PointingHandCursor);
    }
    return QCursor(hand, kHandHotSpotX, kHandHotSpotY);
}

} // namespace platform
