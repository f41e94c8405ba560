// The notification icon, the boss key and the close confirmation: thin
// entry points over the window's desktop integration.
#include "platform/global_hot_key.h"
#include "ui/confirm/form3.h"
#include "ui/kit/message_box.h"
#include "ui/main/desktop_integration.h"
#include "ui/main/form1.h"
#include "ui/main/globals.h"

#include <QCloseEvent>
#include <QCoreApplication>

namespace zorvia {

void TForm1::createDesktopIntegration() {
    desktop_ = new DesktopIntegration(this);
    connect(desktop_, &DesktopIntegration::trayActivated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { WMTrayIcon(reason); });
    connect(desktop_, &DesktopIntegration::hotKeyPressed, this,
            [this](Qt::KeyboardModifiers modifiers, Qt::Key key) { WMHotKey(modifiers, key); });
    connect(desktop_, &DesktopIntegration::toggleRequested, this, [this] { N3Click(desktop_); });
    connect(desktop_, &DesktopIntegration::exitRequested, this, [this] { N4Click(desktop_); });
}

void TForm1::ShowNotifyIcon() {
    desktop_->showTrayIcon();
}

void TForm1::DeleteNotifyIcon() {
    desktop_->removeTrayIcon();
}

void TForm1::registerBossKey() {
    HotKeyId = platform::hotKeyIdFromAtom(platform::addGlobalAtom("MyHotKey"));
    desktop_->registerBossKey(HotKeyId, QKeyCombination(Qt::ControlModifier, Qt::Key_D));
}

bool TForm1::hotKeyRegistered() const {
    return desktop_->bossKeyRegistered();
}

void TForm1::WMTrayIcon(QSystemTrayIcon::ActivationReason reason) {
    desktop_->handleActivation(reason);
}

void TForm1::WMHotKey(Qt::KeyboardModifiers modifiers, Qt::Key key) {
    if (modifiers == Qt::ControlModifier && key == Qt::Key_D)
        N3Click(this);
}

void TForm1::N3Click(QObject*) {
    desktop_->toggleWindow();
}

void TForm1::N4Click(QObject*) {
    FormDestroy(this);
    terminateApplication();
}

void TForm1::bringToFront() {
    desktop_->showWindow(true);
}

void TForm1::FormClose(QObject*, TCloseAction& action) {
    const int result = desktop_->askOnClose();
    if (result == TForm3::kResultMinimize) {
        desktop_->minimizeToTray();
        action = TCloseAction::caNone;
    } else if (result == TForm3::kResultClosed) {
        action = TCloseAction::caNone;
    }
}

void TForm1::FormDestroy(QObject*) {
    desktop_->releaseBossKey();
    DeleteNotifyIcon();
}

void TForm1::terminateApplication() {
    exiting_ = true;
    if (OnTerminate)
        OnTerminate();
    else
        QCoreApplication::exit(0);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (exiting_) {
        event->accept();
        return;
    }
    if (ui::transferRunning()) {
        // A download runs below this handler: a dialog with a loop of its
        // own would hold its transfer up until the dialog closed.
        event->ignore();
        if (Form3 && Form3->isVisible())
            return;
        desktop_->askOnCloseLater([this](int result) {
            if (result == TForm3::kResultMinimize) {
                desktop_->minimizeToTray();
            } else if (result == TForm3::kResultExit) {
                terminateApplication();
                close();
            }
        });
        return;
    }
    // Qt sends no second close event while this one runs, so the dialog of
    // a request is never replaced while it is up.
    TCloseAction action = TCloseAction::caFree;
    FormClose(this, action);
    if (action == TCloseAction::caNone) {
        event->ignore();
        return;
    }
    event->accept();
    terminateApplication();
}

} // namespace zorvia
