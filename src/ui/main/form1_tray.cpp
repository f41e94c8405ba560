// The notification icon with its menu, the boss key, the close confirmation
// and the clean-up when the main window goes away.
#include "platform/global_hot_key.h"
#include "ui/confirm/form3.h"
#include "ui/main/form1.h"
#include "ui/main/globals.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>

namespace zorvia {

namespace {

// Mouse messages of the notification icon.
constexpr unsigned kLeftButtonUp = 0x202;
constexpr unsigned kLeftDoubleClick = 0x203;
constexpr unsigned kRightButtonDown = 0x204;
constexpr unsigned kMiddleButtonUp = 0x208;
constexpr unsigned kTrayIconId = 10;

unsigned mouseMessageOf(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        return kLeftDoubleClick;
    case QSystemTrayIcon::Context:
        return kRightButtonDown;
    case QSystemTrayIcon::MiddleClick:
        return kMiddleButtonUp;
    default:
        return kLeftButtonUp;
    }
}

} // namespace

void TForm1::createTrayMenu() {
    PopupMenu_icon = new QMenu(this);
    PopupMenu_icon->setObjectName("PopupMenu_icon");
    N3 = PopupMenu_icon->addAction(QStringLiteral("还原"));
    N3->setObjectName("N3");
    N4 = PopupMenu_icon->addAction(QStringLiteral("退出"));
    N4->setObjectName("N4");
    connect(N3, &QAction::triggered, this, [this] { N3Click(N3); });
    connect(N4, &QAction::triggered, this, [this] { N4Click(N4); });
}

void TForm1::ShowNotifyIcon() {
    if (TrayIcon != nullptr)
        return;
    TrayIcon = new QSystemTrayIcon(windowIcon(), this);
    TrayIcon->setObjectName("TrayIcon");
    TrayIcon->setToolTip(windowTitle());
    connect(TrayIcon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                WMTrayIcon(kTrayIconId, mouseMessageOf(reason));
            });
    TrayIcon->show();
}

void TForm1::DeleteNotifyIcon() {
    delete TrayIcon;
    TrayIcon = nullptr;
}

void TForm1::registerBossKey() {
    HotKeyId = platform::hotKeyIdFromAtom(platform::addGlobalAtom("MyHotKey"));
    if (!hotKey_)
        hotKey_ = std::make_unique<platform::GlobalHotKey>(
            [this](int id, unsigned modifiers, unsigned virtualKey) {
                WMHotKey(static_cast<unsigned>(id), (modifiers & 0xFFFF) | (virtualKey << 16));
            });
    hotKey_->registerKey(HotKeyId, platform::kModControl, platform::kVirtualKeyD);
}

bool TForm1::hotKeyRegistered() const {
    return hotKey_ && hotKey_->isRegistered(HotKeyId);
}

void TForm1::WMTrayIcon(unsigned, unsigned lParam) {
    if (lParam == kLeftDoubleClick) {
        restoreWindow(false);
    } else if (lParam == kRightButtonDown) {
        N3->setText(isVisible() ? QStringLiteral("最小化") : QStringLiteral("还原"));
        PopupMenu_icon->popup(QCursor::pos());
    }
}

void TForm1::WMHotKey(unsigned, unsigned lParam) {
    if ((lParam & 0xFFFF) == platform::kModControl && (lParam >> 16) == platform::kVirtualKeyD)
        N3Click(this);
}

void TForm1::N3Click(QObject*) {
    if (isVisible())
        hide();
    else
        restoreWindow(true);
}

void TForm1::N4Click(QObject*) {
    FormDestroy(this);
    terminateApplication();
}

void TForm1::restoreWindow(bool focus) {
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    if (focus) {
        raise();
        activateWindow();
    }
}

void TForm1::FormClose(QObject*, TCloseAction& action) {
    // The dialog of the previous request is kept until this one.
    delete Form3;
    QPointer<TForm3> dialog = new TForm3(this);
    Form3 = dialog;
    const int result = dialog->exec();
    if (result == TForm3::kResultMinimize) {
        // Without a notification area a hidden window could only come back
        // through the boss key: minimise it to the taskbar instead.
        if (TrayIcon != nullptr && QSystemTrayIcon::isSystemTrayAvailable())
            hide();
        else
            showMinimized();
        action = TCloseAction::caNone;
    } else if (result == TForm3::kResultClosed) {
        action = TCloseAction::caNone;
    }
}

void TForm1::FormDestroy(QObject*) {
    if (hotKey_)
        hotKey_->unregisterKey(HotKeyId);
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
