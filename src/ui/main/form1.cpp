#include "ui/main/form1.h"

#include "browser/web_browser.h"
#include "platform/global_hot_key.h"
#include "skin/stored_skin.h"
#include "ui/kit/app_icon.h"
#include "ui/kit/error_report.h"
#include "ui/kit/guarded.h"
#include "ui/kit/page_control.h"
#include "ui/kit/ui_font.h"
#include "ui/main/form1_lists.h"
#include "ui/main/form1_local.h"
#include "ui/main/globals.h"
#include "ui/main/message_filter.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace zorvia {

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    setObjectName("Form1");
    setWindowTitle(ui::applicationTitle());
    setWindowIcon(ui::appIcon());
    setFont(ui::uiFont());
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    resize(kClientWidth, kClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
    }

    setUpComponents();
    createControls();
    setTabOrder();
    wireHandlers();
    createTrayMenu();
}

TForm1::~TForm1() {
    FormDestroy(this);
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::setUpComponents() {
    // The skin stored with the window is decoded as the window is made.
    SkinData1.ReadSkinStream(skin::storedSkinStream());

    // The database components' fixed settings.
    SQLiteDB1.SetName("SQLiteDB1");
    SQLiteDB1.SetTimeOut(0);
    SQLiteDB1.SetDefaultExt(".sqb");
    SQLiteDB1.SetDriverDLL("SQLite3.dll");
    SQLiteDB1.SetMustExist(false);
    SQLiteDB1.SetExecuteInlineSQL(false);
    SQLiteQuery1.SetName("SQLiteQuery1");
    SQLiteQuery1.SetAutoCommit(false);
    SQLiteQuery1.SetSQLiteDateFormat(true);
    SQLiteQuery1.SetMaxResults(0);
    SQLiteQuery1.SetSQLCursor(true);
}

void TForm1::wireHandlers() {
    connect(Button1, &QPushButton::clicked, this,
            ui::guarded([this](bool) { Button1Click(Button1); }));
    connect(Button2, &QPushButton::clicked, this,
            ui::guarded([this](bool) { Button2Click(Button2); }));
    connect(Button3, &QPushButton::clicked, this,
            ui::guarded([this](bool) { Button3Click(Button3); }));
    connect(Button_hide, &QPushButton::clicked, this,
            ui::guarded([this](bool) { Button_hideClick(Button_hide); }));

    // Browser workspace.
    connect(Button_closeTab, &QPushButton::clicked, this,
            ui::guarded([this](bool) { Button_closeTabClick(Button_closeTab); }));
    connect(Button_closeAll, &QPushButton::clicked, this,
            ui::guarded([this](bool) { Button_closeAllClick(Button_closeAll); }));
    connect(Button_refresh, &QPushButton::clicked, this,
            ui::guarded([this](bool) { Button_refreshClick(Button_refresh); }));
    connect(Button_help, &QPushButton::clicked, this,
            ui::guarded([this](bool) { Button_helpClick(Button_help); }));
    PageControl2->setCtrlTabSwitching(true);
    connect(PageControl2, &ui::TPageControl::changed, this,
            ui::guarded([this] { PageControl2Change(PageControl2); }));
    bindBrowserEvents(WebBrowser1);
    WebBrowser3->OnNewWindow2 =
        ui::guarded([this](TWebBrowser* sender, BrowserApplication& ppDisp, bool& cancel) {
            WebBrowserNewWindow2(sender, ppDisp, cancel);
        });
    ApplicationEvents1 = std::make_unique<ui::TApplicationEvents>();
    ApplicationEvents1->OnMessage = [this](QObject* target, QEvent* event, bool& handled) {
        ApplicationEvents1Message(target, event, handled);
    };

    // Game lists, search and favourites.
    ui::wireListsAndFavourites(*this);

    // Local games and downloads.
    ui::wireLocalGames(*this);
}

} // namespace zorvia
