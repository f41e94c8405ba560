#include "browser/browser_test_support.h"

#include "browser/cookie_store_reader.h"
#include "browser/web_profile.h"

#include <QTest>

#include <gtest/gtest.h>

namespace zorvia::test {
namespace {

std::string cookiesFor(const TestHttpServer& server, const QString& path) {
    return browser::cookiesForUrl(server.url(path));
}

TEST(CookieStoreTest, ReadsCookiesSetByHeaderAndByScriptForAUrl) {
    TestHttpServer server;
    HttpResponse login;
    login.body = "<!doctype html><title>login</title>"
                 "<script>document.cookie = 'b=2; path=/';</script>";
    login.setCookies = {"a=1; Path=/; HttpOnly", "deep=9; Path=/games",
                        "gone=0; Path=/; Max-Age=0"};
    server.route("/login", login);
    server.page("/logout", "<!doctype html><title>logout</title><script>"
                           "document.cookie = 'b=; path=/; expires=Thu, 01 Jan 1970 00:00:00 GMT';"
                           "</script>");
    TWebBrowser browser;
    BrowserEvents events(browser);
    ASSERT_TRUE(navigateAndWait(browser, events, server.url("/login")));

    EXPECT_TRUE(
        QTest::qWaitFor([&] { return cookiesFor(server, "/") == "a=1; b=2"; }, kLoadTimeoutMs))
        << cookiesFor(server, "/");
    EXPECT_EQ(browser::cookiesForUrl(QStringLiteral("http://127.0.0.1")), "a=1; b=2");
    EXPECT_EQ(cookiesFor(server, "/games/x.swf"), "deep=9; a=1; b=2");
    EXPECT_EQ(browser::cookiesForUrl(QStringLiteral("http://localhost/")), "");

    // Cookies a page deletes disappear from the reader too.
    ASSERT_TRUE(navigateAndWait(browser, events, server.url("/logout")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return cookiesFor(server, "/") == "a=1"; }, kLoadTimeoutMs))
        << cookiesFor(server, "/");
}

TEST(CookieStoreTest, StorageFolderIsFixedOnceTheProfileExists) {
    browser::sharedProfile();
    const QString before = browser::profileStoragePath();
    EXPECT_FALSE(browser::setProfileStoragePath(QStringLiteral("/tmp/elsewhere")));
    EXPECT_EQ(browser::profileStoragePath(), before);
}

} // namespace
} // namespace zorvia::test
