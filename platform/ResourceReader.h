#pragma once
// The program's own resources (embedded with Qt's resource system).

#include <QByteArray>
#include <QString>
#include <vector>

// Qt Gui types: a caller of the picture functions links Qt Gui itself.
class QCursor;
class QPixmap;

namespace platform {

// Raw bytes of resource id of a type ("WAVE" 100..105, "BIN" 100 and 101);
// empty when there is no such resource.
QByteArray resourceData(int id, const QString& type);

// The help pages with their pictures and printable targets: the files the
// help file (BIN 101) is compiled from, by file name.
struct HelpPage {
    QString name;
    QByteArray data;
};
std::vector<HelpPage> helpPages();

// The pictures the windows show.
enum class Picture { Background, Target, Icon, AboutPistol };
QPixmap resourcePicture(Picture picture);
// The pointing-hand cursor (hot spot 12, 9).
QCursor handCursor();

} // namespace platform
