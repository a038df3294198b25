// The full-screen view, for reading the window from where the shooter
// stands: the designed client area scaled by one factor to the screen, the
// menu bar above it. And the window's place and view, kept with the settings.

#include "app/Vantorel.h"

#include "app/FullScreenView.h"
#include "platform/SettingsStore.h"
#include "platform/WindowPosition.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

namespace app {
namespace {

const QString PositionKey = QStringLiteral("MainWindow");
const QString FullScreenKey = QStringLiteral("FullScreen");

} // namespace

void Vantorel::buildFullScreenItem() {
    opt->addSeparator()->setObjectName(QStringLiteral("fullScreenSpacer"));
    fullScreenItem_ = opt->addAction(QStringLiteral("Full Screen"));
    fullScreenItem_->setObjectName(QStringLiteral("fullScreen"));
    fullScreenItem_->setCheckable(true);
    fullScreenItem_->setShortcut(Qt::Key_F11);
    connect(fullScreenItem_, &QAction::triggered, this, [this](bool on) {
        if (ended_)
            return;
        setFullScreenView(on);
        platform::writeSetting(QStringLiteral("Vantorel"), platform::windowSection(), FullScreenKey,
                               on ? QStringLiteral("1") : QStringLiteral("0"));
    });
    new platform::WindowPositionKeeper(*this, PositionKey); // a child: kept while this lives
}

// At the end of the start-up, before the window is first shown: where the
// window stood, and the view the user left it in.
void Vantorel::restoreView() {
    if (const std::optional<QPoint> place = platform::storedWindowPosition(PositionKey))
        move(*place);
    if (platform::readSetting(QStringLiteral("Vantorel"), platform::windowSection(), FullScreenKey,
                              QString()) == QLatin1String("1"))
        setFullScreenView(true);
}

// A window manager gives a full-screen window the whole screen; on an X
// server without one (a range's kiosk) the window takes it itself. Through
// its native window: the widget's own geometry would end the full screen.
void Vantorel::takeTheScreen() {
    if (view_ != nullptr && windowHandle() != nullptr && isVisible())
        windowHandle()->setGeometry(screen()->geometry());
}

void Vantorel::setFullScreenView(bool on) {
    fullScreenItem_->setChecked(view_ != nullptr);
    if (ended_ || on == (view_ != nullptr))
        return;
    if (on) {
        // The client keeps its designed size; the window takes the screen's.
        takeCentralWidget();
        layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        view_ = new FullScreenView(client_, this);
        setCentralWidget(view_);
        normalPlace_ = QRect(pos(), size()); // the frame's place, the client's size
        if (!isVisible())                    // shown straight into the full screen
            setGeometry(screen()->geometry());
        setWindowState(windowState() | Qt::WindowFullScreen);
        takeTheScreen();
        fullScreenItem_->setShortcuts({Qt::Key_F11, Qt::Key_Escape});
        view_->setFocus();
    } else {
        setWindowState(windowState() & ~Qt::WindowFullScreen);
        resize(normalPlace_.size());
        move(normalPlace_.topLeft());
        view_->release();
        // Not deleted at once: the view may be in the middle of an event.
        takeCentralWidget()->deleteLater();
        view_ = nullptr;
        setCentralWidget(client_);
        client_->show();
        layout()->setSizeConstraint(QLayout::SetFixedSize);
        fullScreenItem_->setShortcut(Qt::Key_F11);
    }
    fullScreenItem_->setChecked(on);
    // As when the window first shows: the keys work "New Game".
    Command1->setFocus();
}

} // namespace app
