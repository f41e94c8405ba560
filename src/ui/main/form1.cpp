#include "ui/main/form1.h"

#include "browser/web_browser.h"
#include "data/sqlite_db.h"
#include "data/sqlite_query.h"
#include "net/tcp_client.h"
#include "platform/start_up_trace.h"
#include "skin/skin_data.h"
#include "skin/stored_skin.h"
#include "ui/kit/app_icon.h"
#include "ui/kit/error_report.h"
#include "ui/kit/ui_font.h"
#include "ui/main/form1_local_games.h"
#include "ui/main/form1_workspace.h"
#include "ui/main/globals.h"
#include "ui/main/message_filter.h"

#include <QGuiApplication>
#include <QScreen>

namespace zorvia {

struct TForm1::Components {
    TTcpClient TcpClient1;
    TSQLiteDB SQLiteDB1;
    TSQLiteQuery SQLiteQuery1;
    TSkinData SkinData1;
};

TForm1::TForm1(QWidget* parent)
    : QWidget(parent), components_(std::make_unique<Components>()),
      TcpClient1(components_->TcpClient1), SQLiteDB1(components_->SQLiteDB1),
      SQLiteQuery1(components_->SQLiteQuery1), SkinData1(components_->SkinData1),
      workspace_(std::make_unique<Workspace>(*this)),
      localGames_(std::make_unique<LocalGames>(*this)) {
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
    platform::startUpPhase("skin decode");
    createControls();
    platform::startUpPhase("controls and web views");
    setTabOrder();
    wireAccordion();
    wireWorkspace();
    wireLists();
    wireLocalGames();
    wireFullScreen();
    createDesktopIntegration();
}

TForm1::~TForm1() {
    FormDestroy(this);
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::setUpComponents() {
    // The skin stored with the window is decoded as the window is made; at
    // the end of its reading the component switches the skin on for every
    // window of the program.
    SkinData1.SetOwner(this);
    SkinData1.SetActive(true);
    SkinData1.ReadSkinStream(skin::storedSkinStream());
    SkinData1.Loaded();

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

} // namespace zorvia
