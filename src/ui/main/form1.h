#pragma once

#include "text/ansi.h"

#include <QSystemTrayIcon>
#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QCloseEvent;
class QEvent;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace zorvia {

class BrowserApplication;
class DesktopIntegration;
class TSkinData;
class TSQLiteDB;
class TSQLiteQuery;
class TTcpClient;

namespace ui {
class TApplicationEvents;
class TListBox;
class TPageControl;
class TTabSheet;
} // namespace ui

class TWebBrowser;

// The main window: the left column with the three game lists and the login
// panel, the workspace of browser tabs, and the status bar.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 994;
    static constexpr int kClientHeight = 595;

    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The window's create event; runs once, before the window is first shown.
    void FormCreate();
    // True when FormCreate asked the application to end.
    bool terminateRequested() const { return terminateRequested_; }

    // The folder of the executable with a trailing "/".
    const AnsiString& programFolder() const { return programFolder_; }
    // The folder of the game database and the flash folder, with a trailing
    // "/": the program folder, or the user's data folder when that one is
    // read-only.
    const AnsiString& dataFolder() const { return dataFolder_; }

    // Accordion and left column.
    void Button1Click(QObject* sender);
    void Button2Click(QObject* sender);
    void Button3Click(QObject* sender);
    void Button_hideClick(QObject* sender);

    // Portal requests: one exchange with mini.php for a query; the reply line
    // in code page 936, empty when nothing could be read. portalReached()
    // tells whether the last exchange got an answer from the portal at all.
    AnsiString GetHttpLine(const AnsiString& query);
    bool portalReached() const { return portalReached_; }
    // Appends the items of a list reply to a list box; links are the portal
    // address of `path` + the item's id.
    void FillListFromReply(const AnsiString& reply, ui::TListBox* list, const AnsiString& path);
    AnsiString URLEncode(const AnsiString& text) const;
    // The text after the last `delimiter` (double-byte aware), or all of it.
    AnsiString splitstring(const AnsiString& text, char delimiter) const;

    // Browser workspace: tabs, new-window redirection, game-page probes and
    // the help strip (form1_tabs.cpp, form1_new_window.cpp, form1_help.cpp,
    // form1_message_filter.cpp).
    // Opens url in a tab: activates the first tab whose browser shows exactly
    // this address, otherwise adds a tab and navigates its browser there.
    void CreateNewTab(const AnsiString& url);
    void WebBrowserTitleChange(TWebBrowser* sender, const QString& text);
    void Button_closeTabClick(QObject* sender);
    void Button_closeAllClick(QObject* sender);
    void Button_refreshClick(QObject* sender);
    void PageControl2Change(QObject* sender);
    void WebBrowserNewWindow2(TWebBrowser* sender, BrowserApplication& ppDisp, bool& cancel);
    void WebBrowserBeforeNavigate2(TWebBrowser* sender, const BrowserApplication& pDisp,
                                   const QString& url, bool& cancel);
    void WebBrowserDocumentComplete(TWebBrowser* sender, const BrowserApplication& pDisp,
                                    const QString& url);
    void Button_helpClick(QObject* sender);
    // Builds the help strip of the active page showing text; returns it.
    QFrame* CreateHelpPanel(const AnsiString& text);
    void Button_CloseButtonClick(QObject* sender);
    // The application's message event; sets handled to drop the event.
    void ApplicationEvents1Message(QObject* target, QEvent* event, bool& handled);
    // The browser of a tab page (its child 0), or none.
    static TWebBrowser* pageBrowser(const ui::TTabSheet* page);
    TWebBrowser* activeBrowser() const;
    // The hidden browsers that received new-window requests.
    std::size_t redirectBrowserCount() const;
    // The application message filter, active while this window exists.
    std::unique_ptr<ui::TApplicationEvents> ApplicationEvents1;

    // Game lists, search and favourites (form1_lists.cpp, form1_search.cpp,
    // form1_favourites.cpp). Mouse positions are in the list's client area.
    void ListBoxMouseDown(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                          int x, int y);
    void ListBoxMouseUp(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                        int y);
    void ListBoxMouseMove(QObject* sender, Qt::KeyboardModifiers shift, int x, int y);
    void Button_searchClick(QObject* sender);
    void Edit_keyEnter(QObject* sender);
    void Label_updateClick(QObject* sender);
    void Button_favorClick(QObject* sender);
    void N2Click(QObject* sender);
    void WebBrowser3DocumentComplete(TWebBrowser* sender, const BrowserApplication& pDisp,
                                     const QString& url);

    // Local games and downloads (form1_local.cpp, form1_download.cpp).
    // Appends the games of the game database to ListBox2, newest first.
    void FillLocalList();
    void N1Click(QObject* sender);
    // The file of a local game: dataFolder() + "flash/" + filename.
    AnsiString localGamePath(const AnsiString& filename) const;
    // The recorded title of the local game a browser address (a file
    // address) shows, as the local list holds it; empty for any other.
    QString localGameTitle(const QString& address) const;
    void Button_downClick(QObject* sender);

    // Full screen (form1_full_screen.cpp): F11 or a click on Label_fullScreen
    // shows the active tab's Flash movie over the whole screen; Esc leaves.
    void ShowGameFullScreen();

    // Notification icon, boss key and close confirmation (form1_tray.cpp),
    // handed to the window's desktop integration.
    enum class TCloseAction { caNone, caHide, caFree, caMinimize };
    void ShowNotifyIcon();
    void DeleteNotifyIcon();
    // An activation of the notification icon: a double click (or a plain
    // activation where the tray offers no double click) shows the window,
    // the context request opens the icon's menu.
    void WMTrayIcon(QSystemTrayIcon::ActivationReason reason);
    // The boss key: Ctrl+D exactly toggles the window.
    void WMHotKey(Qt::KeyboardModifiers modifiers, Qt::Key key);
    void N3Click(QObject* sender);
    void N4Click(QObject* sender);
    // Asks Form3 what to do with a close request; caNone cancels the close.
    void FormClose(QObject* sender, TCloseAction& action);
    // Releases the boss key and removes the icon; safe to run again.
    void FormDestroy(QObject* sender);
    // True while the boss key is held by this window.
    bool hotKeyRegistered() const;
    // Shows, raises and activates the window (a second start of the
    // program hands over to this one).
    void bringToFront();
    // How the application is ended (N4, an accepted close); by default the
    // message loop is left.
    std::function<void()> OnTerminate;

private:
    // The components without a window of their own, held here so that this
    // header needs none of their headers (form1.cpp).
    struct Components;
    std::unique_ptr<Components> components_;

public:
    // Components without a window of their own.
    TTcpClient& TcpClient1;
    TSQLiteDB& SQLiteDB1;
    TSQLiteQuery& SQLiteQuery1;
    TSkinData& SkinData1;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Notification icon, boss key and close confirmation; the icon, its
    // menu (PopupMenu_icon with N3 and N4) and the key belong to the
    // desktop integration.
    void createDesktopIntegration();
    void registerBossKey();
    void terminateApplication();
    DesktopIntegration* desktop_ = nullptr;
    bool exiting_ = false;

    void createControls();
    void createLeftColumn();
    void createWorkspace();
    void createStatusBar();
    void setTabOrder();
    void setUpComponents();

    // Each feature binds its controls' signals to its handlers in one place,
    // in the feature's own file.
    void wireAccordion();  // form1_accordion.cpp
    void wireWorkspace();  // form1_tabs.cpp
    void wireLists();      // form1_lists.cpp
    void wireLocalGames(); // form1_local.cpp
    void wireFullScreen(); // form1_full_screen.cpp

    // A feature's own state and helpers, declared in the feature's header,
    // so that changing them recompiles that feature's files alone.
    struct Workspace;  // form1_workspace.h
    struct LocalGames; // form1_local_games.h
    std::unique_ptr<Workspace> workspace_;
    std::unique_ptr<LocalGames> localGames_;

    // Controls, each named by its objectName (tests find them by it).
    QFrame* Panel_left = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    ui::TPageControl* PageControl1 = nullptr;
    ui::TTabSheet* TabSheet1 = nullptr;
    ui::TTabSheet* TabSheet2 = nullptr;
    ui::TTabSheet* TabSheet3 = nullptr;
    ui::TListBox* ListBox1 = nullptr;
    ui::TListBox* ListBox2 = nullptr;
    ui::TListBox* ListBox3 = nullptr;
    QPushButton* Button_login = nullptr;
    QFrame* Panel1 = nullptr;
    TWebBrowser* WebBrowser3 = nullptr;
    QFrame* Panel_main = nullptr;
    QPushButton* Button_hide = nullptr;
    QPushButton* Button_closeTab = nullptr;
    QPushButton* Button_closeAll = nullptr;
    QPushButton* Button_refresh = nullptr;
    QPushButton* Button_favor = nullptr;
    QPushButton* Button_down = nullptr;
    QPushButton* Button_help = nullptr;
    QLineEdit* Edit_key = nullptr;
    QPushButton* Button_search = nullptr;
    ui::TPageControl* PageControl2 = nullptr;
    ui::TTabSheet* TabSheet_Main = nullptr;
    TWebBrowser* WebBrowser1 = nullptr;
    QFrame* Panel_status = nullptr;
    QLabel* Label_status = nullptr;
    QLabel* Label_update = nullptr;
    QLabel* Label_tips = nullptr;
    QLabel* Label_fullScreen = nullptr;

    // The menus of ListBox2 and ListBox3, each with one item "删除".
    QMenu* PopupMenu1 = nullptr;
    QAction* N1 = nullptr;
    QMenu* PopupMenu2 = nullptr;
    QAction* N2 = nullptr;

    AnsiString programFolder_;
    AnsiString dataFolder_;
    bool portalReached_ = false;
    bool terminateRequested_ = false;
};

} // namespace zorvia
