#include "ui/main/desktop_integration.h"

#include "platform/global_hot_key.h"
#include "platform/status_notifier.h"
#include "ui/confirm/form3.h"
#include "ui/main/globals.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QWidget>

namespace zorvia {

DesktopIntegration::DesktopIntegration(QWidget* window) : QObject(window), window_(window) {
    setObjectName("DesktopIntegration");
    menu_ = new QMenu(window);
    menu_->setObjectName("PopupMenu_icon");
    toggle_ = menu_->addAction(QStringLiteral("还原"));
    toggle_->setObjectName("N3");
    exit_ = menu_->addAction(QStringLiteral("退出"));
    exit_->setObjectName("N4");
    connect(toggle_, &QAction::triggered, this, &DesktopIntegration::toggleRequested);
    connect(exit_, &QAction::triggered, this, &DesktopIntegration::exitRequested);
    // A StatusNotifier host opens the menu itself: the item is named as it
    // opens.
    connect(menu_, &QMenu::aboutToShow, this, &DesktopIntegration::nameNextAction);
}

DesktopIntegration::~DesktopIntegration() = default;

void DesktopIntegration::showTrayIcon() {
    showTrayIcon(platform::statusNotifierTrayAvailable() ? TrayKind::StatusNotifier
                                                         : TrayKind::XEmbed);
}

void DesktopIntegration::showTrayIcon(TrayKind kind) {
    if (tray_)
        return;
    trayKind_ = kind;
    tray_ = new QSystemTrayIcon(window_->windowIcon(), this);
    tray_->setObjectName("TrayIcon");
    tray_->setToolTip(window_->windowTitle());
    // On an XEmbed tray the menu is opened here, on the context request; a
    // menu set on the icon would open a second time.
    if (kind == TrayKind::StatusNotifier)
        tray_->setContextMenu(menu_);
    connect(tray_, &QSystemTrayIcon::activated, this, &DesktopIntegration::trayActivated);
    tray_->show();
}

void DesktopIntegration::removeTrayIcon() {
    delete tray_;
}

void DesktopIntegration::handleActivation(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        showWindow(false);
        break;
    case QSystemTrayIcon::Trigger:
        // An XEmbed tray reports a single click first of every double
        // click; only a StatusNotifier activation stands for itself.
        if (trayKind_ == TrayKind::StatusNotifier)
            showWindow(true);
        break;
    case QSystemTrayIcon::Context:
        if (trayKind_ == TrayKind::XEmbed)
            menu_->popup(QCursor::pos());
        break;
    default:
        break;
    }
}

void DesktopIntegration::nameNextAction() {
    toggle_->setText(window_->isVisible() ? QStringLiteral("最小化") : QStringLiteral("还原"));
}

void DesktopIntegration::registerBossKey(int id, QKeyCombination key) {
    if (!hotKey_)
        hotKey_ = std::make_unique<platform::GlobalHotKey>([this](int, QKeyCombination pressed) {
            emit hotKeyPressed(pressed.keyboardModifiers(), pressed.key());
        });
    if (hotKey_->registerKey(id, key))
        hotKeyId_ = id;
}

void DesktopIntegration::releaseBossKey() {
    if (hotKey_ && hotKeyId_ >= 0)
        hotKey_->unregisterKey(hotKeyId_);
    hotKeyId_ = -1;
}

bool DesktopIntegration::bossKeyRegistered() const {
    return hotKey_ && hotKeyId_ >= 0 && hotKey_->isRegistered(hotKeyId_);
}

void DesktopIntegration::toggleWindow() {
    if (window_->isVisible())
        window_->hide();
    else
        showWindow(true);
}

void DesktopIntegration::showWindow(bool focus) {
    if (window_->isMinimized())
        window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
    window_->show();
    if (focus) {
        window_->raise();
        window_->activateWindow();
    }
}

int DesktopIntegration::askOnClose() {
    // The dialog of the previous request is kept until this one.
    delete Form3;
    QPointer<TForm3> dialog = new TForm3(window_);
    Form3 = dialog;
    return dialog->exec();
}

void DesktopIntegration::askOnCloseLater(std::function<void(int)> answered) {
    delete Form3;
    auto* dialog = new TForm3(window_);
    Form3 = dialog;
    connect(dialog, &QDialog::finished, this, std::move(answered));
    dialog->open();
}

void DesktopIntegration::minimizeToTray() {
    // Without a notification area a hidden window could only come back
    // through the boss key: minimise it to the taskbar instead.
    if (tray_ && QSystemTrayIcon::isSystemTrayAvailable())
        window_->hide();
    else
        window_->showMinimized();
}

} // namespace zorvia
