// The search box and the upgrade link.
#include "portal/addresses.h"
#include "text/codepage.h"
#include "ui/kit/message_box.h"
#include "ui/kit/qtext.h"
#include "ui/main/form1.h"
#include "ui/main/globals.h"

#include <QDesktopServices>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

namespace zorvia {

void TForm1::Button_searchClick(QObject* /*sender*/) {
    const AnsiString keyword = ui::fromQ(Edit_key->text());
    if (keyword.empty()) {
        ui::showMessage(this, text::utf8ToAnsi("请输入关键字"));
        Edit_key->setFocus();
        return;
    }
    CreateNewTab(portal::portalUrl(SiteHost, portal::kSearchPath) +
                 URLEncode(text::ansiToUtf8(keyword)));
}

void TForm1::Edit_keyEnter(QObject* /*sender*/) {
    Button_search->setDefault(true);
}

void TForm1::Label_updateClick(QObject* /*sender*/) {
    const AnsiString url = portal::portalUrl(SiteHost, portal::kUpgradePath);
    // Without a web browser to start, the click would do nothing visible.
    if (!QDesktopServices::openUrl(QUrl(ui::toQ(url))))
        ui::showMessage(this, text::utf8ToAnsi("无法启动网页浏览器，请手动访问：") + url);
}

} // namespace zorvia
