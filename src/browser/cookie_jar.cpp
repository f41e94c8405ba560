#include "browser/cookie_jar.h"

#include <QDateTime>
#include <QHostAddress>

#include <algorithm>

namespace zorvia::browser {

namespace {

bool expiredAt(const QNetworkCookie& cookie, const QDateTime& now) {
    return !cookie.isSessionCookie() && cookie.expirationDate() <= now;
}

// A CR, LF or NUL would end the request's Cookie line early or bend it.
bool breaksHeaderLine(const QByteArray& text) {
    return text.contains('\r') || text.contains('\n') || text.contains('\0');
}

} // namespace

bool CookieJar::insertCookie(const QNetworkCookie& cookie) {
    // Searched without detaching: the list is copied only when a cookie is
    // replaced in place, not on every insert.
    QList<QNetworkCookie> cookies = allCookies();
    const auto existing = std::find_if(cookies.cbegin(), cookies.cend(),
                                       [&](const auto& c) { return c.hasSameIdentifier(cookie); });
    if (existing == cookies.cend() || expiredAt(cookie, QDateTime::currentDateTimeUtc()))
        return QNetworkCookieJar::insertCookie(cookie);
    cookies[existing - cookies.cbegin()] = cookie;
    setAllCookies(cookies);
    return true;
}

QList<QNetworkCookie> CookieJar::cookiesForUrl(const QUrl& url) const {
    QUrl asked = url;
    if (asked.scheme().compare(QLatin1String("wss"), Qt::CaseInsensitive) == 0)
        asked.setScheme(QStringLiteral("https"));
    QList<QNetworkCookie> cookies = QNetworkCookieJar::cookiesForUrl(asked);
    const QString host = url.host(QUrl::FullyDecoded);
    const bool ipHost = QHostAddress().setAddress(host);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    cookies.removeIf([&](const QNetworkCookie& c) {
        const bool bySuffix = c.domain().startsWith(u'.') &&
                              c.domain().mid(1).compare(host, Qt::CaseInsensitive) != 0;
        return (ipHost && bySuffix) || expiredAt(c, now);
    });
    return cookies;
}

QByteArray CookieJar::cookieHeaderFor(const QUrl& url) const {
    QByteArray header;
    for (const auto& cookie : cookiesForUrl(url)) {
        if (breaksHeaderLine(cookie.name()) || breaksHeaderLine(cookie.value()))
            continue;
        if (!header.isEmpty())
            header += "; ";
        if (!cookie.name().isEmpty())
            header += cookie.name() + '=';
        header += cookie.value();
    }
    return header;
}

} // namespace zorvia::browser
