#include "support/browser_test_support.h"

#include <QTest>

#include <gtest/gtest.h>

namespace zorvia::test {
namespace {

const QString kMarkedPage = QStringLiteral(
    "<!doctype html><meta charset='utf-8'><title>跳跃小子</title>"
    "<span name='swfurl'>/games/first.swf</span><div id='swfurl'>/games/second.swf</div>"
    "<div id='swfhelp'>按<b>空格</b>跳跃<br>Space to jump</div><p id='gameid'>  42 </p>"
    "<div id='loginflag' style='display:none'>form</div>"
    "<form><input id='user' name='username'></form><div id='notamarker'>x</div>");

struct LookupCase {
    const char* name;
    bool found;
    const char* tagName;
    QString innerHTML;
    QString innerText;
};

TEST(DocumentTest, FindsTheFirstRecordedElementByIdOrNameInDocumentOrder) {
    TestHttpServer server;
    server.page("/game", kMarkedPage);
    TWebBrowser browser;
    BrowserEvents events(browser);
    ASSERT_TRUE(navigateAndWait(browser, events, server.url("/game")));
    const auto document = browser.Document();
    EXPECT_EQ(document->title(), QStringLiteral("跳跃小子"));

    const LookupCase cases[] = {
        // by name, ahead of a later element with that id
        {"swfurl", true, "SPAN", QStringLiteral("/games/first.swf"),
         QStringLiteral("/games/first.swf")},
        // markup kept in innerHTML, rendered in innerText
        {"swfhelp", true, "DIV", QStringLiteral("按<b>空格</b>跳跃<br>Space to jump"),
         QStringLiteral("按空格跳跃\nSpace to jump")},
        {"gameid", true, "P", QStringLiteral("  42 "), QStringLiteral("42")},
        {"loginflag", true, "DIV", QStringLiteral("form"), QStringLiteral("form")}, // hidden
        {"username", true, "INPUT", QString(), QString()},                          // form field
        {"notamarker", false, "", {}, {}}, // in the page, but not recorded
        {"missing", false, "", {}, {}},
    };
    for (const auto& c : cases) {
        const auto element = GetPageElement(document, QString::fromLatin1(c.name));
        ASSERT_EQ(element.has_value(), c.found) << c.name;
        if (element) {
            EXPECT_EQ(element->tagName(), QString::fromLatin1(c.tagName)) << c.name;
            EXPECT_EQ(element->innerHTML(), c.innerHTML) << c.name;
            EXPECT_EQ(element->innerText(), c.innerText) << c.name;
        }
    }

    browser.setMarkerNames({QStringLiteral("notamarker"), QStringLiteral("we\"ird'name\\")});
    browser.Refresh();
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.completedUrls.size() == 2; }, kLoadTimeoutMs));
    EXPECT_TRUE(GetPageElement(browser.Document(), QStringLiteral("notamarker")).has_value());
    EXPECT_FALSE(GetPageElement(browser.Document(), QStringLiteral("swfurl")).has_value());
}

TEST(DocumentTest, EachLoadTakesItsOwnSnapshot) {
    TestHttpServer server;
    server.page("/game", kMarkedPage);
    server.page("/plain", "<!doctype html><title>plain</title><div id='loginflag'>form</div>");
    TWebBrowser browser;
    BrowserEvents events(browser);
    ASSERT_TRUE(navigateAndWait(browser, events, server.url("/game")));
    const auto gameDocument = browser.Document();
    EXPECT_TRUE(gameDocument->isCurrent());

    ASSERT_TRUE(navigateAndWait(browser, events, server.url("/plain")));
    EXPECT_FALSE(GetPageElement(browser.Document(), QStringLiteral("swfurl")).has_value());
    // A document kept from before stays readable but is no longer current.
    EXPECT_FALSE(gameDocument->isCurrent());
    EXPECT_EQ(GetPageElement(gameDocument, QStringLiteral("gameid"))->innerHTML(),
              QStringLiteral("  42 "));

    // What the page changes after its load is not part of its snapshot.
    evaluate(browser, "document.getElementById('loginflag').textContent = 'login';"
                      "document.title = 'changed';");
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.titles.contains(QStringLiteral("changed")); },
                                kLoadTimeoutMs));
    EXPECT_EQ(GetPageElement(browser.Document(), QStringLiteral("loginflag"))->innerText(),
              QStringLiteral("form"));
}

TEST(DocumentTest, FocusMovesTheInputFocusToTheElementOfTheCurrentDocument) {
    TestHttpServer server;
    server.page("/login",
                "<!doctype html><input id='other' autofocus><input name='username' id='u'>");
    server.page("/plain", "<!doctype html><input name='username' id='p'>");
    QWidget window;
    auto* browser = new TWebBrowser(&window);
    window.show();
    BrowserEvents events(*browser);
    ASSERT_TRUE(navigateAndWait(*browser, events, server.url("/login")));

    const auto field = GetPageElement(browser->Document(), QStringLiteral("username"));
    field->focus();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return evaluate(*browser, "document.activeElement.id").toString() == "u"; },
        kLoadTimeoutMs));
    EXPECT_TRUE(browser->isInside(window.focusWidget()));

    ASSERT_TRUE(navigateAndWait(*browser, events, server.url("/plain")));
    field->focus(); // its document is gone: nothing happens
    // A script sent to the page after focus() runs after anything it sent.
    EXPECT_NE(evaluate(*browser, "document.activeElement.id").toString(), QStringLiteral("p"));
    delete browser;
    field->focus(); // so is its browser
}

} // namespace
} // namespace zorvia::test
