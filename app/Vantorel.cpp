#include "app/Vantorel.h"

#include "app/HoleMarker.h"
#include "app/ScoreCard.h"
#include "app/StateLamp.h"
#include "detection/EnhancedDetection.h"
#include "detection/MotionDetection.h"
#include "platform/MessageBox.h"
#include "platform/ResourceReader.h"
#include "platform/SettingsStore.h"
#include "platform/Twips.h"
#include "settings/SettingsFrm.h"
#include "support/AboutFrm.h"

#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPushButton>
#include <QTimer>

namespace app {
namespace {

constexpr int ClientWidth = 650; // pixels
constexpr int ClientHeight = 459;

// Designed places of the hole markers: below the client area, out of view.
constexpr std::array<float, Vantorel::Markers> DesignedLeft{5325, 5505, 5700, 5880, 6060,
                                                            6225, 6405, 6600, 6780, 6975};
constexpr std::array<float, Vantorel::Markers> DesignedTop{7320, 7320, 7320, 7320, 7305,
                                                           7305, 7305, 7305, 7320, 7305};

void place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(platform::twipsToPixels(left), platform::twipsToPixels(top),
                        platform::twipsToPixels(width), platform::twipsToPixels(height));
}

} // namespace

Vantorel::Vantorel(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Vantorel"));
    setWindowTitle(QStringLiteral("Vantorel"));
    setWindowIcon(QIcon(platform::resourcePicture(platform::Picture::Icon)));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    buildControls();
    buildMenus();
    buildFullScreenItem();
    // The layout is fixed: the window takes the size of its client area and
    // menu bar and cannot be resized.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    MotionDetection::setHitTarget(this);
    // A store that cannot keep the settings is said once, like the support
    // files' errors; the program goes on with what it has.
    platform::setSettingsProblemHandler([this](const QString& why) {
        if (settingsProblemShown_)
            return;
        settingsProblemShown_ = true;
        platform::MessageRequest request;
        request.text = why;
        platform::showMessage(request);
    });
}

Vantorel::~Vantorel() {
    platform::setSettingsProblemHandler({});
    // The frame analysis must not reach a window that is gone.
    MotionDetection::setHitTarget(nullptr);
}

void Vantorel::buildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(ClientWidth, ClientHeight);
    QPalette background = client->palette();
    const QPixmap picture = platform::resourcePicture(platform::Picture::Background);
    if (!picture.isNull())
        background.setBrush(QPalette::Window, QBrush(picture));
    else
        background.setColor(QPalette::Window, QColor(192, 192, 192));
    client->setPalette(background);
    client->setAutoFillBackground(true);
    setCentralWidget(client);
    client_ = client;

    Image1 = new QLabel(client);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(platform::resourcePicture(platform::Picture::Target));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(Image1, 3285, 420, 6000, 6000);

    Text1 = new ScoreCard(client);
    Text1->setObjectName(QStringLiteral("Text1"));
    place(Text1, 420, 2580, 2445, 3090);
    QPalette card = Text1->palette();
    card.setColor(QPalette::Base, QColor(80, 80, 80));
    card.setColor(QPalette::Text, QColor(0, 255, 255));
    Text1->setPalette(card);
    QFont designed(QStringLiteral("Arial"));
    designed.setPointSizeF(9.75);
    designed.setBold(true);
    Text1->setFont(designed);
    connect(Text1, &ScoreCard::GotFocus, this, &Vantorel::Text1_GotFocus);

    Command1 = new QPushButton(QStringLiteral("New Game"), client);
    Command1->setObjectName(QStringLiteral("Command1"));
    place(Command1, 465, 6030, 2370, 390);
    connect(Command1, &QPushButton::clicked, this, &Vantorel::Command1_Click);

    // Under "New Game", in the frame's margin: the designed controls keep
    // their places.
    stateLamp_ = new StateLamp(client);
    stateLamp_->setObjectName(QStringLiteral("stateLamp"));
    place(stateLamp_, 465, 6450, 2370, 255);

    // Created after the target picture, so they are drawn above it.
    for (int k = 0; k < Markers; ++k) {
        shape2_[k] = new HoleMarker(DesignedLeft[k], DesignedTop[k], client);
        shape2_[k]->setObjectName(QStringLiteral("Shape2_%1").arg(k));
        shape2_[k]->clipTo(Image1->geometry()); // shown on the target picture only
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &Vantorel::Timer1_Timer);
    // The timed drill's: the start beep and the par beep come on time.
    delayTimer_ = new QTimer(this);
    delayTimer_->setObjectName(QStringLiteral("delayTimer"));
    delayTimer_->setSingleShot(true);
    delayTimer_->setTimerType(Qt::PreciseTimer);
    connect(delayTimer_, &QTimer::timeout, this, &Vantorel::delayTimer_Timer);
    parTimer_ = new QTimer(this);
    parTimer_->setObjectName(QStringLiteral("parTimer"));
    parTimer_->setSingleShot(true);
    parTimer_->setTimerType(Qt::PreciseTimer);
    connect(parTimer_, &QTimer::timeout, this, &Vantorel::parTimer_Timer);

    // The score card is first in the tab order and hands the focus on.
    setTabOrder(Text1, Command1);
    Text1->setFocus();
}

void Vantorel::buildMenus() {
    auto item = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    // The menus' first letters open them with Alt; the captions read the same.
    fl = menuBar()->addMenu(QStringLiteral("&File"));
    fl->setObjectName(QStringLiteral("fl"));
    ex = item(fl, "ex", QStringLiteral("Exit"));
    ex->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q)); // also where the theme has none
    connect(ex, &QAction::triggered, this, &Vantorel::ex_Click);

    opt = menuBar()->addMenu(QStringLiteral("&Options"));
    opt->setObjectName(QStringLiteral("opt"));
    frt = item(opt, "frt", QStringLiteral("Format"));
    connect(frt, &QAction::triggered, this, &Vantorel::frt_Click);
    src = item(opt, "src", QStringLiteral("Source"));
    connect(src, &QAction::triggered, this, &Vantorel::src_Click);
    separator(opt, "Spacer1");
    stt = item(opt, "stt", QStringLiteral("Settings"));
    connect(stt, &QAction::triggered, this, &Vantorel::stt_Click);
    // Beside the four sliders: the second way of finding flashes.
    enhancedItem_ = item(opt, "enh", QStringLiteral("Enhanced Detection"));
    enhancedItem_->setCheckable(true);
    enhancedItem_->setChecked(MotionDetection::enhancedDetection());
    connect(enhancedItem_, &QAction::toggled, this, &Vantorel::enhancedToggled);
    separator(opt, "Spacer2");
    for (int i = 0; i < Devices; ++i) {
        const std::string name = "dev_" + std::to_string(i);
        dev[i] = item(opt, name.c_str(), QStringLiteral("Device%1").arg(i));
        connect(dev[i], &QAction::triggered, this,
                [this, i] { dev_Click(static_cast<std::int16_t>(i)); });
    }

    buildDrillMenu();

    hl = menuBar()->addMenu(QStringLiteral("&Help"));
    hl->setObjectName(QStringLiteral("hl"));
    hlp = item(hl, "hlp", QStringLiteral("Help Topics"));
    hlp->setShortcut(QKeySequence::HelpContents);
    connect(hlp, &QAction::triggered, this, &Vantorel::hlp_Click);
    abt = item(hl, "abt", QStringLiteral("About"));
    connect(abt, &QAction::triggered, this, &Vantorel::abt_Click);
}

const QString& Vantorel::ScoreCardText() const {
    return Text1->Text();
}

int Vantorel::Timer1Interval() const {
    return Timer1->isActive() ? Timer1->interval() : 0;
}

int Vantorel::delayInterval() const {
    return delayTimer_->isActive() ? delayTimer_->interval() : 0;
}

int Vantorel::parInterval() const {
    return parTimer_->isActive() ? parTimer_->interval() : 0;
}

} // namespace app
