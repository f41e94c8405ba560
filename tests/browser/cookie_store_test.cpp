#include "support/browser_test_support.h"

#include "browser/web_profile.h"

#include <QTest>

#include <gtest/gtest.h>

namespace zorvia::test {
namespace {

TEST(CookieStoreTest, ReadsCookiesSetByHeaderAndByScriptForAUrl) {
    TestHttpServer server;
    HttpResponse login;
    login.body = "<!doctype html><script>document.cookie = 'b=2; path=/';</script>";
    login.setCookies = {"a=1; Path=/; HttpOnly", "deep=9; Path=/games",
                        "gone=0; Path=/; Max-Age=0"};
    server.route("/login", login);
    server.page("/logout",
                "<!doctype html><script>"
                "document.cookie = 'b=; path=/; expires=Thu, 01 Jan 1970 00:00:00 GMT';</script>");
    const auto cookiesFor = [&](const char* path) {
        return browser::cookiesForUrl(server.url(path));
    };
    TWebBrowser browser;
    BrowserEvents events(browser);
    ASSERT_TRUE(navigateAndWait(browser, events, server.url("/login")));

    EXPECT_TRUE(QTest::qWaitFor([&] { return cookiesFor("/") == "a=1; b=2"; }, kLoadTimeoutMs))
        << cookiesFor("/");
    EXPECT_EQ(browser::cookiesForUrl(QStringLiteral("http://127.0.0.1")), "a=1; b=2");
    EXPECT_EQ(cookiesFor("/games/x.swf"), "deep=9; a=1; b=2");
    EXPECT_EQ(browser::cookiesForUrl(QStringLiteral("http://localhost/")), "");

    ASSERT_TRUE(navigateAndWait(browser, events, server.url("/logout")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return cookiesFor("/") == "a=1"; }, kLoadTimeoutMs))
        << cookiesFor("/");

    // The storage folder is fixed once the profile exists.
    EXPECT_FALSE(browser::setProfileStoragePath(QStringLiteral("/tmp/elsewhere")));
}

} // namespace
} // namespace zorvia::test
