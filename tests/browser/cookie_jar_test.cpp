#include "browser/cookie_jar.h"

#include <QDateTime>

#include <gtest/gtest.h>

namespace zorvia::browser {
namespace {

QNetworkCookie cookie(const char* name, const char* value, const char* domain,
                      const char* path = "/") {
    QNetworkCookie c(name, value);
    c.setDomain(QString::fromLatin1(domain));
    c.setPath(QString::fromLatin1(path));
    return c;
}

struct MatchCase {
    const char* label;
    QNetworkCookie cookie;
    const char* url;
    bool sent;
};

QNetworkCookie secureCookie() {
    auto c = cookie("s", "1", "example.com");
    c.setSecure(true);
    return c;
}

QNetworkCookie expiringCookie(int secondsFromNow) {
    auto c = cookie("e", "1", "example.com");
    c.setExpirationDate(QDateTime::currentDateTimeUtc().addSecs(secondsFromNow));
    return c;
}

TEST(CookieJarTest, DecidesWhichCookiesARequestCarries) {
    const MatchCase cases[] = {
        {"host-only, same host", cookie("a", "1", "example.com"), "http://example.com/", true},
        {"host-only, host case differs", cookie("a", "1", "example.com"), "http://EXAMPLE.com/x",
         true},
        {"host-only, subdomain", cookie("a", "1", "example.com"), "http://www.example.com/", false},
        {"host-only, other port", cookie("a", "1", "127.0.0.1"), "http://127.0.0.1:8380/", true},
        {"domain, bare host", cookie("a", "1", ".example.com"), "http://example.com/", true},
        {"domain, subdomain", cookie("a", "1", ".example.com"), "http://a.b.example.com/", true},
        {"domain, suffix without dot", cookie("a", "1", ".example.com"), "http://badexample.com/",
         false},
        {"domain, parent of cookie domain", cookie("a", "1", ".www.example.com"),
         "http://example.com/", false},
        {"domain, IP address by suffix", cookie("a", "1", ".0.0.1"), "http://127.0.0.1/", false},
        {"path, root", cookie("a", "1", "example.com", "/"), "http://example.com/x/y", true},
        {"path, exact", cookie("a", "1", "example.com", "/games"), "http://example.com/games",
         true},
        {"path, below", cookie("a", "1", "example.com", "/games"),
         "http://example.com/games/x.html", true},
        {"path, prefix not at slash", cookie("a", "1", "example.com", "/games"),
         "http://example.com/gamesx", false},
        {"path, trailing slash prefix", cookie("a", "1", "example.com", "/games/"),
         "http://example.com/games/1", true},
        {"path, request above", cookie("a", "1", "example.com", "/games"), "http://example.com/",
         false},
        {"path, empty request path", cookie("a", "1", "example.com", "/"), "http://example.com",
         true},
        {"secure over http", secureCookie(), "http://example.com/", false},
        {"secure over https", secureCookie(), "https://example.com/", true},
        {"expires later", expiringCookie(60), "http://example.com/", true},
        {"expired", expiringCookie(-1), "http://example.com/", false},
        {"expires now", expiringCookie(0), "http://example.com/", false},
    };
    for (const auto& c : cases) {
        CookieJar jar;
        jar.insertCookie(c.cookie);
        const bool sent = !jar.cookiesForUrl(QUrl(QString::fromLatin1(c.url))).isEmpty();
        EXPECT_EQ(sent, c.sent) << c.label;
    }
}

TEST(CookieJarTest, HeaderListsLongerPathsFirstThenInsertionOrder) {
    CookieJar jar;
    jar.insertCookie(cookie("a", "1", "example.com"));
    jar.insertCookie(cookie("deep", "x", "example.com", "/games/flash"));
    jar.insertCookie(cookie("b", "2", ".example.com"));
    jar.insertCookie(cookie("mid", "y", "example.com", "/games"));
    jar.insertCookie(cookie("", "bare", "example.com"));
    jar.insertCookie(cookie("other", "z", "other.com"));

    EXPECT_EQ(jar.cookieHeaderFor(QUrl("http://example.com/")), "a=1; b=2; bare");
    EXPECT_EQ(jar.cookieHeaderFor(QUrl("http://example.com/games/flash/1.swf")),
              "deep=x; mid=y; a=1; b=2; bare");
    EXPECT_EQ(jar.cookieHeaderFor(QUrl("http://nowhere.org/")), "");
    EXPECT_EQ(jar.cookieHeaderFor(QUrl()), "");
}

TEST(CookieJarTest, HeaderLeavesOutCookiesThatWouldBreakItsLine) {
    CookieJar jar;
    jar.insertCookie(cookie("a", "1\r\nHost: elsewhere", "example.com"));
    jar.insertCookie(cookie("b", "2\n", "example.com"));
    jar.insertCookie(cookie("c\r", "3", "example.com"));
    jar.insertCookie(cookie("ok", "1", "example.com"));
    QNetworkCookie withNul("d", QByteArray("4\0x", 3));
    withNul.setDomain("example.com");
    withNul.setPath("/");
    jar.insertCookie(withNul);
    EXPECT_EQ(jar.cookieHeaderFor(QUrl("http://example.com/")), "ok=1");
}

TEST(CookieJarTest, SameNameDomainAndPathReplacesAndRemoves) {
    CookieJar jar;
    const QByteArray gbk("\xD3\xCE\xCF\xB7"); // CP936 bytes pass through unchanged
    jar.insertCookie(cookie("sid", "old", "example.com"));
    jar.insertCookie(cookie("sid", "other-path", "example.com", "/games"));
    jar.insertCookie(cookie("sid", "other-domain", ".example.com"));
    jar.insertCookie(cookie("sid", gbk.constData(), "example.com"));
    EXPECT_EQ(jar.size(), 3);
    EXPECT_EQ(jar.cookieHeaderFor(QUrl("http://example.com/")),
              "sid=" + gbk + "; sid=other-domain");

    jar.deleteCookie(cookie("sid", "any value", "example.com"));
    jar.deleteCookie(cookie("missing", "", "example.com"));
    EXPECT_EQ(jar.cookieHeaderFor(QUrl("http://example.com/")), "sid=other-domain");
    EXPECT_EQ(jar.size(), 2);
}

} // namespace
} // namespace zorvia::browser
