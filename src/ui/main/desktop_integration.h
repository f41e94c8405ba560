#pragma once

#include <QKeyCombination>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QWidget;

namespace zorvia {

namespace platform {
class GlobalHotKey;
}

// The main window's place on the desktop: its notification-area icon with
// the icon's menu, the system-wide boss key, and the dialog asked on a
// close request. It shows, hides and raises the window; what the icon, the
// key and the menu mean is left to the window, which it tells through its
// signals.
class DesktopIntegration : public QObject {
    Q_OBJECT
public:
    // Which protocol the notification area speaks. An XEmbed tray reports
    // single and double clicks and leaves the menu to the program; a
    // StatusNotifier tray reports one plain activation and shows the menu
    // itself.
    enum class TrayKind { XEmbed, StatusNotifier };

    explicit DesktopIntegration(QWidget* window);
    ~DesktopIntegration() override;

    // The icon (the window's icon, its caption as tip) in the notification
    // area; the protocol is found out from the desktop unless given.
    void showTrayIcon();
    void showTrayIcon(TrayKind kind);
    void removeTrayIcon();
    QSystemTrayIcon* trayIcon() const { return tray_; }
    TrayKind trayKind() const { return trayKind_; }

    // What an activation of the icon does: a double click (XEmbed) or a
    // plain activation (StatusNotifier) shows the window; the context
    // request opens the menu at the cursor, its first item naming the next
    // action; anything else does nothing.
    void handleActivation(QSystemTrayIcon::ActivationReason reason);

    // The boss key: grabbed system-wide under `id`; silently absent when
    // the platform refuses it.
    void registerBossKey(int id, QKeyCombination key);
    void releaseBossKey();
    bool bossKeyRegistered() const;

    // Hides the visible window; shows a hidden one and gives it the focus.
    void toggleWindow();
    // Shows the window (restored when minimised); with `focus`, also raises
    // and activates it.
    void showWindow(bool focus);
    // Asks the close dialog (a new TForm3, kept in Form3) and returns its
    // modal result.
    int askOnClose();
    // Opens the close dialog without a loop of its own, so that a running
    // download goes on while it is up; `answered` gets its modal result
    // once it closes.
    void askOnCloseLater(std::function<void(int)> answered);
    // Hides the window to the notification area; minimises it instead when
    // there is no icon to bring it back.
    void minimizeToTray();

signals:
    void trayActivated(QSystemTrayIcon::ActivationReason reason);
    void hotKeyPressed(Qt::KeyboardModifiers modifiers, Qt::Key key);
    // The icon menu's items: "还原"/"最小化" and "退出".
    void toggleRequested();
    void exitRequested();

private:
    void nameNextAction();

    QWidget* window_;
    QMenu* menu_ = nullptr;
    QAction* toggle_ = nullptr;
    QAction* exit_ = nullptr;
    QPointer<QSystemTrayIcon> tray_;
    TrayKind trayKind_ = TrayKind::XEmbed;
    std::unique_ptr<platform::GlobalHotKey> hotKey_;
    int hotKeyId_ = -1;
};

} // namespace zorvia
