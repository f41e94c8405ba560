// The tab manager of the browser workspace.
#include "browser/movie_refocus.h"
#include "browser/web_browser.h"
#include "portal/game_download.h"
#include "text/codepage.h"
#include "ui/kit/guarded.h"
#include "ui/kit/message_box.h"
#include "ui/kit/page_control.h"
#include "ui/kit/qtext.h"
#include "ui/main/form1_workspace.h"
#include "ui/main/message_filter.h"
#include "ui/main/page_children.h"
#include "ui/main/tab_caption.h"
#include "ui/main/workspace_sound.h"

#include <QPushButton>
#include <QUrl>
#include <QWebEngineView>

namespace zorvia {

namespace {

constexpr int kTabBrowserWidth = 801;
constexpr int kTabBrowserHeight = 492;

bool isMainSheet(const ui::TTabSheet* page) {
    return page && page->objectName() == QLatin1String("TabSheet_Main");
}

} // namespace

void TForm1::wireWorkspace() {
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
    workspace_->bindBrowserEvents(WebBrowser1);
    // The start page and the login panel come back by themselves after
    // their renderer ended; a game tab shows a message with a reload button.
    WebBrowser1->setReloadAfterCrash(true);
    WebBrowser3->setReloadAfterCrash(true);
    auto* sound = new WorkspaceSound(this, PageControl2);
    // A game tab that becomes active again, however that came about, gives
    // the keyboard back to its movie; so does the window when it shows
    // again. Queued: a tab switch by key moves the focus after the switch.
    connect(PageControl2, &ui::TPageControl::activePageChanged, this, [this] {
        QMetaObject::invokeMethod(
            this, [this] { workspace_->refocusActiveMovie(); }, Qt::QueuedConnection);
    });
    connect(sound, &WorkspaceSound::restored, this, [this] { workspace_->refocusActiveMovie(); });
    WebBrowser3->OnNewWindow2 =
        ui::guarded([this](TWebBrowser* sender, BrowserApplication& ppDisp, bool& cancel) {
            WebBrowserNewWindow2(sender, ppDisp, cancel);
        });
    ApplicationEvents1 = std::make_unique<ui::TApplicationEvents>();
    ApplicationEvents1->OnMessage = [this](QObject* target, QEvent* event, bool& handled) {
        ApplicationEvents1Message(target, event, handled);
    };
}

std::size_t TForm1::redirectBrowserCount() const {
    return workspace_->redirectBrowsers.size();
}

TWebBrowser* TForm1::pageBrowser(const ui::TTabSheet* page) {
    const QList<QWidget*> controls = ui::childControls(page);
    return controls.isEmpty() ? nullptr : qobject_cast<TWebBrowser*>(controls.front());
}

TWebBrowser* TForm1::activeBrowser() const {
    return pageBrowser(PageControl2->activePage());
}

void TForm1::Workspace::bindBrowserEvents(TWebBrowser* browser) {
    TForm1* f = &form;
    browser->OnTitleChange = ui::guarded(
        [f](TWebBrowser* sender, const QString& text) { f->WebBrowserTitleChange(sender, text); });
    browser->OnNewWindow2 =
        ui::guarded([f](TWebBrowser* sender, BrowserApplication& ppDisp, bool& cancel) {
            f->WebBrowserNewWindow2(sender, ppDisp, cancel);
        });
    browser->OnDocumentComplete =
        ui::guarded([f](TWebBrowser* sender, const BrowserApplication& pDisp, const QString& url) {
            f->WebBrowserDocumentComplete(sender, pDisp, url);
        });
    // A page whose renderer ended has no document: the game buttons of the
    // active tab follow the probe again.
    browser->OnRenderProcessGone = ui::guarded([f](TWebBrowser* sender) {
        if (sender == f->activeBrowser())
            f->PageControl2Change(sender);
    });
}

void TForm1::Workspace::refocusActiveMovie() {
    TWebBrowser* browser = form.activeBrowser();
    if (browser && form.isVisible() && !browser->fullScreenShown())
        browser::refocusMovie(*browser->page(), *browser->view());
}

void TForm1::CreateNewTab(const AnsiString& url) {
    // A local game's link is a path of the flash folder; its tab is at the
    // file's address.
    const bool local = url.starts_with('/');
    // Only Flash movies of the flash folder play; no other local file opens.
    if (local && !portal::isMovieFileName(splitstring(url, '/'))) {
        ui::showMessage(this, text::utf8ToAnsi("这不是 Flash 游戏，无法打开"));
        return;
    }
    const QString address = local ? ui::pathToQ(url) : ui::toQ(url);
    const QString shown =
        local ? QUrl::fromLocalFile(address).toString(QUrl::FullyEncoded) : address;
    // A tab still loading the address counts as showing it.
    for (int i = 0; i < PageControl2->pageCount(); ++i) {
        ui::TTabSheet* page = PageControl2->page(i);
        const TWebBrowser* browser = pageBrowser(page);
        if (browser && (browser->LocationURL() == shown || browser->PendingURL() == shown)) {
            PageControl2->setActivePage(page);
            return;
        }
    }

    Button_down->setEnabled(false);
    Button_help->setEnabled(false);

    auto* page = new ui::TTabSheet(PageControl2);
    PageControl2->addPage(page);
    PageControl2->setActivePage(page);
    page->setCaption(QStringLiteral("加载中..."));

    auto* browser = new TWebBrowser(page);
    browser->resize(kTabBrowserWidth, kTabBrowserHeight);
    browser->setAlignClient(true);
    browser->setSilent(true);
    workspace_->bindBrowserEvents(browser);
    browser->Navigate(address);
    // The new page takes the keyboard, so a game in it is played at once.
    browser->view()->setFocus(Qt::OtherFocusReason);
}

void TForm1::WebBrowserTitleChange(TWebBrowser* sender, const QString& text) {
    auto* page = qobject_cast<ui::TTabSheet*>(sender->parentWidget());
    if (!page)
        return;
    // A local game's page is titled with its file's name; the tab shows the
    // game's recorded title instead.
    const QString recorded = localGameTitle(sender->LocationURL());
    const QString title = recorded.isEmpty() ? text : recorded;
    // The caption is cut short; the tab's tooltip shows the whole title.
    page->setHint(title);
    page->setCaption(ui::tabCaption(title));
}

void TForm1::Button_closeTabClick(QObject* /*sender*/) {
    ui::TTabSheet* page = PageControl2->activePage();
    if (!page || isMainSheet(page))
        return;
    delete pageBrowser(page);
    PageControl2->removePage(page);
    delete page;
    PageControl2Change(PageControl2);
}

void TForm1::Button_closeAllClick(QObject* /*sender*/) {
    for (int i = PageControl2->pageCount() - 1; i >= 0; --i) {
        ui::TTabSheet* page = PageControl2->page(i);
        if (isMainSheet(page))
            continue;
        delete pageBrowser(page);
        PageControl2->removePage(page);
        delete page;
    }
}

void TForm1::Button_refreshClick(QObject* /*sender*/) {
    if (TWebBrowser* browser = activeBrowser())
        browser->Refresh();
}

void TForm1::PageControl2Change(QObject* /*sender*/) {
    Button_favor->setEnabled(false);
    Button_down->setEnabled(false);
    Button_help->setEnabled(false);
    workspace_->probeGamePage(activeBrowser());
}

} // namespace zorvia
