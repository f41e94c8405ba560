#pragma once

#include "text/ansi.h"

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QTimer>

#include <memory>
#include <vector>

class QMenu;
class QWidget;

namespace zorvia {

class TSkinData;
class TWinSkinForm;
class TWinSkinPopMenu;

// The process's skin manager: one application event filter that gives every
// top-level window a frame skinner as it is first shown (before it maps) or
// activated, and skins its controls right after through a posted
// SKM_SKINLATER; the registered skin components; and one pending request,
// carried out by a one-shot timer, that switches the skin on or off or
// refreshes it.
class TSkinManage : public QObject {
    Q_OBJECT
public:
    enum State { Starting = 0, Running = 1, ShuttingDown = 4 };
    enum Request {
        SkinRequest = 1,
        UnskinRequest = 2,
        RefreshRequest = 3,
        PurgeRequest = 6,
        ReskinRequest = 7
    };
    enum class MenuKind { Popup = 0, DropDown = 1, WindowMenu = 2 };

    // The manager, none before the first component finished loading.
    static TSkinManage* instance();
    // The manager, made now when there is none.
    static TSkinManage& create();
    ~TSkinManage() override;

    bool active() const { return active_; }
    int state() const { return state_; }
    void setState(int state);

    void RegisterSkinData(TSkinData& data);
    void UnregisterSkinData(TSkinData& data);
    // The first registered component that serves the whole process.
    TSkinData* defaultSkinData() const;
    const std::vector<TSkinData*>& registered() const { return registered_; }

    // Starts watching the windows of the application.
    void InstallWindowHook();
    void PostRequest(int type, int delayMs, TSkinData* data);
    // Sets the active flag and leaves state 0 (components of one form).
    void activate();
    bool requestPending() const { return timer_.isActive(); }
    // A skin file was loaded into `data` at run time.
    void skinFileLoaded(TSkinData& data);
    // Detaches the frame skinner of `window`, then skins it again.
    void Reskin(QWidget* window);

    // Gives `window` a frame skinner; false when one of the conditions fails.
    bool SkinWindow(QWidget* window, bool childTest = true);
    TSkinData* ChooseSkinData(const QWidget* window) const;
    bool ShouldSkinWindow(const QWidget* window, const AnsiString& className) const;
    TWinSkinForm* FindSkinnedWindow(const QWidget* window) const;
    void Purge();

    // Popup menus.
    bool SkinPopupMenu(QMenu* menu);
    void UnskinPopupMenu(QWidget* menu);
    void setMenuKind(MenuKind kind) { menuKind_ = kind; }
    MenuKind menuKind() const { return menuKind_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TSkinManage();
    void runRequest();
    void skinVisibleWindows();
    void unskin(const TSkinData* only);

    bool active_ = false;
    int state_ = Starting;
    bool hooked_ = false;
    std::vector<std::unique_ptr<TWinSkinForm>> forms_;
    std::vector<std::unique_ptr<TWinSkinPopMenu>> menus_;
    MenuKind menuKind_ = MenuKind::Popup;
    std::vector<TSkinData*> registered_;
    QTimer timer_;
    int pendingType_ = 0;
    TSkinData* pending_ = nullptr;
    QPointer<QWidget> reskin_;
};

namespace skin {

// The widget that holds a window's controls: the client widget of a skinned
// window, otherwise the window itself.
QWidget* clientArea(QWidget* window);
// Resizes a window so that its client area gets `size`.
void setClientSize(QWidget* window, QSize size);

} // namespace skin
} // namespace zorvia
