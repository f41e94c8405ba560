#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QUrl>

namespace zorvia::browser {

// The cookies of one browser profile, answering which of them a request for
// a given address would carry. The matching is QNetworkCookieJar's (host-only
// and domain cookies, path prefixes ending at a "/", secure cookies only over
// encrypted schemes, expiry, longer paths first). Added here: a domain cookie
// never reaches an IP address by suffix, a cookie expiring at this very
// moment is no longer sent, wss counts as encrypted, and a cookie replacing
// one of the same name, domain and path keeps that one's place in the order.
class CookieJar : public QNetworkCookieJar {
    Q_OBJECT
public:
    using QNetworkCookieJar::QNetworkCookieJar;

    bool insertCookie(const QNetworkCookie& cookie) override;
    QList<QNetworkCookie> cookiesForUrl(const QUrl& url) const override;
    qsizetype size() const { return allCookies().size(); }

    // The cookies for url as a request header value: "name=value; name=value"
    // (a cookie without a name contributes its value alone); empty when no
    // cookie matches. A cookie whose name or value holds a CR, LF or NUL is
    // left out: the header goes into a request line.
    QByteArray cookieHeaderFor(const QUrl& url) const;
};

} // namespace zorvia::browser
