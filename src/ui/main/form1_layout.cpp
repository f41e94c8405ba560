// The main window's controls at their fixed pixel geometry.
#include "ui/main/form1.h"

#include "browser/web_browser.h"
#include "ui/kit/anchors.h"
#include "ui/kit/list_box.h"
#include "ui/kit/page_control.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zorvia {

using ui::Anchor;

namespace {

QFrame* makePanel(QWidget* parent, const char* name, QRect geometry) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setLineWidth(1);
    panel->setGeometry(geometry);
    return panel;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

ui::TTabSheet* makeSheet(ui::TPageControl* control, const char* name) {
    auto* sheet = new ui::TTabSheet(control);
    sheet->setObjectName(name);
    control->addPage(sheet);
    return sheet;
}

ui::TListBox* makeList(ui::TTabSheet* sheet, const char* name) {
    auto* list = new ui::TListBox(sheet);
    list->setObjectName(name);
    list->setGeometry(2, 0, 153, 281);
    return list;
}

// A browser filling its parent. Web views are made before the window is
// first shown: adding one to a shown window recreates the native window.
TWebBrowser* makeBrowser(QWidget* parent, const char* name) {
    auto* browser = new TWebBrowser(parent);
    browser->setObjectName(name);
    browser->setAlignClient(true);
    return browser;
}

} // namespace

void TForm1::createControls() {
    createLeftColumn();
    createWorkspace();
    createStatusBar();
}

void TForm1::createLeftColumn() {
    Panel_left = makePanel(this, "Panel_left", {0, 0, 175, 567});
    ui::setAnchors(Panel_left, Anchor::Left | Anchor::Top | Anchor::Bottom);

    Button1 = makeButton(Panel_left, "Button1", QStringLiteral("在线Flash游戏"), {5, 8, 161, 25});
    Button2 = makeButton(Panel_left, "Button2", QStringLiteral("本地Flash游戏"), {5, 32, 161, 25});
    Button3 = makeButton(Panel_left, "Button3", QStringLiteral("我收藏的游戏"), {5, 56, 161, 25});

    PageControl1 = new ui::TPageControl(Panel_left);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setTabsVisible(false);
    PageControl1->setGeometry(3, 80, 163, 289);
    TabSheet1 = makeSheet(PageControl1, "TabSheet1");
    TabSheet2 = makeSheet(PageControl1, "TabSheet2");
    TabSheet3 = makeSheet(PageControl1, "TabSheet3");
    ListBox1 = makeList(TabSheet1, "ListBox1");
    ListBox2 = makeList(TabSheet2, "ListBox2");
    ListBox3 = makeList(TabSheet3, "ListBox3");
    // The favourites page is the active one at start.
    PageControl1->setActivePage(TabSheet3);

    Button_login = makeButton(Panel_left, "Button_login", QStringLiteral("Zorvia小游戏登录"),
                              {2, 406, 170, 25});
    ui::setAnchors(Button_login, Anchor::Left | Anchor::Bottom);

    Panel1 = makePanel(Panel_left, "Panel1", {2, 434, 170, 129});
    ui::setAnchors(Panel1, Anchor::Left | Anchor::Bottom);
    WebBrowser3 = makeBrowser(Panel1, "WebBrowser3");
}

void TForm1::createWorkspace() {
    Panel_main = makePanel(this, "Panel_main", {176, 0, 817, 567});
    ui::setAnchors(Panel_main, Anchor::Left | Anchor::Top | Anchor::Right | Anchor::Bottom);

    Button_hide = makeButton(Panel_main, "Button_hide", QStringLiteral("收起左栏"), {4, 9, 75, 25});
    Button_closeTab =
        makeButton(Panel_main, "Button_closeTab", QStringLiteral("关闭当前"), {93, 9, 75, 25});
    Button_closeAll =
        makeButton(Panel_main, "Button_closeAll", QStringLiteral("关闭所有"), {181, 9, 75, 25});
    Button_refresh =
        makeButton(Panel_main, "Button_refresh", QStringLiteral("刷新"), {269, 9, 40, 25});
    Button_favor =
        makeButton(Panel_main, "Button_favor", QStringLiteral("收藏本游戏"), {323, 9, 75, 25});
    Button_down =
        makeButton(Panel_main, "Button_down", QStringLiteral("下载本游戏"), {411, 9, 75, 25});
    Button_help =
        makeButton(Panel_main, "Button_help", QStringLiteral("游戏帮助"), {501, 9, 75, 25});
    Button_favor->setEnabled(false);
    Button_down->setEnabled(false);
    Button_help->setEnabled(false);

    Edit_key = new QLineEdit(Panel_main);
    Edit_key->setObjectName("Edit_key");
    Edit_key->setGeometry(620, 11, 113, 21);
    ui::setAnchors(Edit_key, Anchor::Top | Anchor::Right);

    Button_search =
        makeButton(Panel_main, "Button_search", QStringLiteral("搜索游戏"), {738, 9, 75, 25});
    ui::setAnchors(Button_search, Anchor::Top | Anchor::Right);

    PageControl2 = new ui::TPageControl(Panel_main);
    PageControl2->setObjectName("PageControl2");
    PageControl2->setTabWidth(120);
    PageControl2->setGeometry(4, 41, 810, 522);
    ui::setAnchors(PageControl2, Anchor::Left | Anchor::Top | Anchor::Right | Anchor::Bottom);
    TabSheet_Main = makeSheet(PageControl2, "TabSheet_Main");
    WebBrowser1 = makeBrowser(TabSheet_Main, "WebBrowser1");
}

void TForm1::createStatusBar() {
    Panel_status = makePanel(this, "Panel_status", {0, 570, 993, 25});
    ui::setAnchors(Panel_status, Anchor::Left | Anchor::Right | Anchor::Bottom);

    Label_status = makeLabel(Panel_status, "Label_status", QString(), {4, 6, 173, 13});
    Label_update =
        makeLabel(Panel_status, "Label_update", QStringLiteral("升级到最新版本"), {176, 6, 84, 13});
    QFont underlined = Label_update->font();
    underlined.setUnderline(true);
    Label_update->setFont(underlined);
    Label_update->setCursor(Qt::PointingHandCursor);

    Label_tips =
        makeLabel(Panel_status, "Label_tips", QStringLiteral("老板键：Ctrl+D"), {888, 6, 93, 13});
    Label_tips->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ui::setAnchors(Label_tips, Anchor::Right | Anchor::Bottom);

    // The command that shows the active game over the whole screen.
    Label_fullScreen = makeLabel(Panel_status, "Label_fullScreen",
                                 QStringLiteral("全屏玩游戏：F11"), {770, 6, 110, 13});
    Label_fullScreen->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label_fullScreen->setFont(underlined);
    Label_fullScreen->setCursor(Qt::PointingHandCursor);
    Label_fullScreen->setToolTip(QStringLiteral("当前游戏全屏显示，按 Esc 退出全屏"));
    ui::setAnchors(Label_fullScreen, Anchor::Right | Anchor::Bottom);
}

void TForm1::setTabOrder() {
    // Tab order: the left column, then the workspace in its own order, then
    // the status bar; within each parent the order below.
    const QList<QWidget*> chain = {
        Button1,         Button2,         Button3,      ListBox1,
        ListBox2,        ListBox3,        Button_login, WebBrowser3,
        Button_hide,     Button_down,     Button_favor, Button_refresh,
        Button_closeAll, Button_closeTab, Button_help,  PageControl2->tabStrip(),
        WebBrowser1,     Edit_key,        Button_search};
    for (int i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

} // namespace zorvia
