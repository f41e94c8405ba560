// Requests to the portal and its list replies.
#include "browser/web_profile.h"
#include "portal/addresses.h"
#include "portal/list_reply.h"
#include "portal/portal_request.h"
#include "portal/url_encode.h"
#include "text/dbcs.h"
#include "ui/kit/list_box.h"
#include "ui/kit/qtext.h"
#include "ui/main/form1.h"
#include "ui/main/globals.h"

namespace zorvia {

namespace {
// Capacity of the cookie read, its terminating zero included.
constexpr size_t kCookieBuffer = 256;
} // namespace

AnsiString TForm1::GetHttpLine(const AnsiString& query) {
    // The cookie the browsers hold for the portal; a read that finds none,
    // or more than fits, keeps the last one.
    const AnsiString cookie = browser::cookiesForUrl(ui::toQ(portal::portalUrl(SiteHost, "")));
    if (!cookie.empty() && cookie.size() < kCookieBuffer)
        SiteCookie = cookie;

    const portal::PortalReply reply = portal::queryPortal(TcpClient1, SiteHost, SiteCookie, query);
    portalReached_ = reply.reached;
    return reply.text;
}

void TForm1::FillListFromReply(const AnsiString& reply, ui::TListBox* list,
                               const AnsiString& path) {
    for (const auto& item : portal::parseListReply(reply, SiteHost, path))
        list->addItem(item.display, item.link);
}

AnsiString TForm1::URLEncode(const AnsiString& text) const {
    return portal::URLEncode(text);
}

AnsiString TForm1::splitstring(const AnsiString& text, char delimiter) const {
    return text::splitstring(text, delimiter);
}

} // namespace zorvia
