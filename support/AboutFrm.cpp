#include "support/AboutFrm.h"

#include "platform/Product.h"
#include "platform/ResourceReader.h"
#include "platform/Twips.h"
#include "support/HyperLink.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

namespace {

QLabel* centredLabel(QWidget* parent, const char* name, const QRect& twipsRect) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setGeometry(
        platform::twipsToPixels(twipsRect.x()), platform::twipsToPixels(twipsRect.y()),
        platform::twipsToPixels(twipsRect.width()), platform::twipsToPixels(twipsRect.height()));
    return label;
}

void setTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}
} // namespace

AboutFrm::AboutFrm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("AboutFrm"));
    setWindowTitle(QStringLiteral("About"));
    setWindowIcon(QIcon(platform::resourcePicture(platform::Picture::Icon)));
    setFixedSize(platform::twipsToPixels(5505), platform::twipsToPixels(3945));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(platform::twipsToPixels(1095), platform::twipsToPixels(90),
                        platform::twipsToPixels(3375), platform::twipsToPixels(1980));
    Image1->setPixmap(platform::resourcePicture(platform::Picture::AboutPistol));

    Label3 = centredLabel(this, "Label3", {60, 2250, 5400, 360});
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPointSizeF(14.25);
    titleFont.setBold(true);
    Label3->setFont(titleFont);
    setTextColour(Label3, QColor(255, 0, 0));

    Label4 = centredLabel(this, "Label4", {60, 2700, 5400, 240});
    Label4->setText(QStringLiteral("Created by the Vantorel developers"));

    Label1 = centredLabel(this, "Label1", {60, 3045, 5400, 225});
    Label1->setText(QStringLiteral("Visit Our Web Site"));
    setTextColour(Label1, QColor(0, 0, 255));
    Label1->setCursor(platform::handCursor());
    Label1->installEventFilter(this);

    Command1 = new QPushButton(QStringLiteral("Close"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(platform::twipsToPixels(2175), platform::twipsToPixels(3465),
                          platform::twipsToPixels(1155), platform::twipsToPixels(330));
    Command1->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &AboutFrm::Command1_Click);

    Form_Load();
}

void AboutFrm::Form_Load() {
    ++formLoads_;
    setWindowTitle(QStringLiteral("About ") + platform::ProductName);
    Label3->setText(platform::ProductTitle);
}

void AboutFrm::Label1_Click() {
    HyperLink::OpenLink(QLatin1String(HyperLink::WebSiteAddress));
}

void AboutFrm::Command1_Click() {
    hide();
}

void AboutFrm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!placed_) {
        placed_ = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    // The button is first in the tab order: it has the focus on opening.
    Command1->setFocus();
}

bool AboutFrm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label1 && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            Label1->rect().contains(mouse->position().toPoint()))
            Label1_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
