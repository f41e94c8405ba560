// The favourites: adding the active tab's game, deleting one, and following
// the login state of the side panel.
#include "browser/web_browser.h"
#include "portal/addresses.h"
#include "text/codepage.h"
#include "ui/kit/list_box.h"
#include "ui/kit/message_box.h"
#include "ui/kit/qtext.h"
#include "ui/main/form1.h"
#include "ui/main/list_selection.h"

namespace zorvia {

namespace {

void say(TForm1* form, const char* utf8) {
    ui::showMessage(form, text::utf8ToAnsi(utf8));
}

// Shown instead of a success when the portal could not be reached: nothing
// was added or deleted there, so nothing changes here either.
constexpr const char* kNetworkFailure = "网络连接失败，请稍后再试";

bool isFormField(const HtmlElement& element) {
    const QString tag = element.tagName().toLower();
    return tag == QLatin1String("input") || tag == QLatin1String("textarea") ||
           tag == QLatin1String("select");
}

} // namespace

void TForm1::Button_favorClick(QObject* /*sender*/) {
    TWebBrowser* browser = activeBrowser();
    if (!browser)
        return;
    const std::optional<HtmlDocument> document = browser->Document();
    if (!document)
        return;
    const std::optional<HtmlElement> game = GetPageElement(document, QStringLiteral("gameid"));
    if (!game)
        return;

    const AnsiString reply = GetHttpLine("favadd=" + ui::fromQ(game->innerHTML()));
    if (!portalReached()) {
        say(this, kNetworkFailure);
    } else if (reply == "USER") {
        say(this, "收藏功能需要会员登录后才能使用，请先登录或注册");
        const auto field = GetPageElement(WebBrowser3->Document(), QStringLiteral("username"));
        if (field && isFormField(*field))
            field->focus();
    } else if (reply == "NOID") {
        say(this, "对不起，你要收藏的游戏不存在或已被删除");
    } else if (reply == "EXIST") {
        say(this, "该游戏已经收藏在您的列表中");
    } else {
        ListBox3->addItem(ui::fromQ(document->title()), ui::fromQ(browser->LocationURL()));
        say(this, "收藏成功");
    }
}

void TForm1::N2Click(QObject* /*sender*/) {
    const int index = ui::selectedIndex(ListBox3);
    if (index < 0)
        return;
    GetHttpLine("favdel=" + splitstring(ListBox3->link(index), '='));
    if (!portalReached()) {
        say(this, kNetworkFailure);
        return;
    }
    delete ListBox3->takeItem(index);
    say(this, "删除成功");
}

void TForm1::WebBrowser3DocumentComplete(TWebBrowser* /*sender*/,
                                         const BrowserApplication& /*pDisp*/,
                                         const QString& /*url*/) {
    const auto flag = GetPageElement(WebBrowser3->Document(), QStringLiteral("loginflag"));
    if (!flag)
        return;
    const AnsiString state = ui::fromQ(flag->innerText());
    if (state == "form") {
        ListBox3->clear();
    } else if (state == "login") {
        ListBox3->clear();
        FillListFromReply(GetHttpLine("action=favlist"), ListBox3, portal::kGamePath);
    }
}

} // namespace zorvia
