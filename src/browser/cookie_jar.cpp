#include "browser/cookie_jar.h"

#include <QHostAddress>

#include <algorithm>

namespace zorvia::browser {

namespace {

bool isIpAddress(const QString& host) {
    QHostAddress address;
    return address.setAddress(host);
}

bool isSecureScheme(const QString& scheme) {
    return scheme == QLatin1String("https") || scheme == QLatin1String("wss");
}

} // namespace

void CookieJar::insert(const QNetworkCookie& cookie) {
    for (auto& existing : cookies_) {
        if (existing.hasSameIdentifier(cookie)) {
            existing = cookie;
            return;
        }
    }
    cookies_.append(cookie);
}

void CookieJar::remove(const QNetworkCookie& cookie) {
    cookies_.removeIf([&](const QNetworkCookie& c) { return c.hasSameIdentifier(cookie); });
}

bool CookieJar::domainMatches(const QString& cookieDomain, const QString& host) {
    const QString domain = cookieDomain.toLower();
    const QString h = host.toLower();
    if (domain.isEmpty() || h.isEmpty())
        return false;
    if (!domain.startsWith(u'.'))
        return h == domain;
    const QString bare = domain.mid(1);
    if (bare.isEmpty())
        return false;
    if (h == bare)
        return true;
    return !isIpAddress(h) && h.endsWith(domain);
}

bool CookieJar::pathMatches(const QString& cookiePath, const QString& requestPath) {
    const QString cp = cookiePath.isEmpty() ? QStringLiteral("/") : cookiePath;
    const QString rp = requestPath.startsWith(u'/') ? requestPath : QStringLiteral("/");
    if (rp == cp)
        return true;
    if (!rp.startsWith(cp))
        return false;
    return cp.endsWith(u'/') || rp.at(cp.size()) == u'/';
}

QList<QNetworkCookie> CookieJar::cookiesFor(const QUrl& url, const QDateTime& now) const {
    QList<QNetworkCookie> result;
    if (!url.isValid() || url.host().isEmpty())
        return result;
    const QString host = url.host(QUrl::FullyDecoded);
    const QString path = url.path(QUrl::FullyEncoded);
    const bool secure = isSecureScheme(url.scheme().toLower());
    for (const auto& cookie : cookies_) {
        if (cookie.isSecure() && !secure)
            continue;
        if (!cookie.isSessionCookie() && cookie.expirationDate() <= now)
            continue;
        if (!domainMatches(cookie.domain(), host) || !pathMatches(cookie.path(), path))
            continue;
        result.append(cookie);
    }
    std::stable_sort(result.begin(), result.end(), [](const auto& a, const auto& b) {
        return a.path().size() > b.path().size();
    });
    return result;
}

QByteArray CookieJar::cookieHeaderFor(const QUrl& url, const QDateTime& now) const {
    QByteArray header;
    for (const auto& cookie : cookiesFor(url, now)) {
        if (!header.isEmpty())
            header += "; ";
        if (!cookie.name().isEmpty())
            header += cookie.name() + '=';
        header += cookie.value();
    }
    return header;
}

} // namespace zorvia::browser
