#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QNetworkCookie>
#include <QUrl>

namespace zorvia::browser {

// The cookies of one browser profile, answering which of them a request for
// a given address would carry. Matching follows the rules browsers apply:
// host-only cookies need the exact host, domain cookies (stored with a
// leading dot) also match its subdomains but never an IP address by suffix;
// the cookie path must be a prefix of the request path ending at a "/";
// secure cookies go only to https and wss; expired cookies never match.
class CookieJar {
public:
    // Adds a cookie, replacing one with the same name, domain and path.
    void insert(const QNetworkCookie& cookie);
    // Removes the cookie with the same name, domain and path, if any.
    void remove(const QNetworkCookie& cookie);
    void clear() { cookies_.clear(); }
    qsizetype size() const { return cookies_.size(); }

    // The cookies sent with a request for url at time now: longer paths
    // first, cookies of equal path length in the order they were added.
    QList<QNetworkCookie> cookiesFor(const QUrl& url, const QDateTime& now) const;

    // Those cookies as a request header value: "name=value; name=value"
    // (a cookie without a name contributes its value alone); empty when
    // no cookie matches.
    QByteArray cookieHeaderFor(const QUrl& url, const QDateTime& now) const;

    static bool domainMatches(const QString& cookieDomain, const QString& host);
    static bool pathMatches(const QString& cookiePath, const QString& requestPath);

private:
    QList<QNetworkCookie> cookies_;
};

} // namespace zorvia::browser
