#include "browser/browser_test_support.h"

#include "browser/document_snapshot.h"

#include <QTest>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace zorvia::test {
namespace {

const QString kMarkedPage = QStringLiteral(
    "<!doctype html><html><head><meta charset='utf-8'><title>跳跃小子</title></head><body>"
    "<span name='swfurl'>/games/first.swf</span>"
    "<div id='swfurl'>/games/second.swf</div>"
    "<div id='swfhelp'>按<b>空格</b>跳跃<br>Space to jump</div>"
    "<p id='gameid'>  42 </p>"
    "<div id='loginflag' style='display:none'>form</div>"
    "<form><input id='user' name='username'></form>"
    "<div id='notamarker'>x</div>"
    "</body></html>");

struct LookupCase {
    const char* name;
    bool found;
    const char* tagName;
    QString innerHTML;
    QString innerText;
};

TEST(DocumentTest, FindsTheFirstElementByIdOrNameInDocumentOrder) {
    TestHttpServer server;
    server.page("/game", kMarkedPage);
    TWebBrowser browser;
    BrowserEvents events(browser);
    ASSERT_TRUE(navigateAndWait(browser, events, server.url("/game")));
    const auto document = browser.Document();
    ASSERT_TRUE(document.has_value());
    EXPECT_EQ(document->title(), QStringLiteral("跳跃小子"));
    EXPECT_EQ(document->location(), server.url("/game"));

    const LookupCase cases[] = {
        // by name, ahead of a later element with the same id
        {"swfurl", true, "SPAN", QStringLiteral("/games/first.swf"),
         QStringLiteral("/games/first.swf")},
        // markup stays in innerHTML and is rendered in innerText
        {"swfhelp", true, "DIV", QStringLiteral("按<b>空格</b>跳跃<br>Space to jump"),
         QStringLiteral("按空格跳跃\nSpace to jump")},
        {"gameid", true, "P", QStringLiteral("  42 "), QStringLiteral("42")},
        // hidden elements still give their text
        {"loginflag", true, "DIV", QStringLiteral("form"), QStringLiteral("form")},
        // a form field found by its name
        {"username", true, "INPUT", QString(), QString()},
        // present in the page but not a recorded marker
        {"notamarker", false, "", {}, {}},
        {"user", false, "", {}, {}},
        {"missing", false, "", {}, {}},
    };
    for (const auto& c : cases) {
        const auto element = GetPageElement(document, QString::fromLatin1(c.name));
        ASSERT_EQ(element.has_value(), c.found) << c.name;
        if (!element)
            continue;
        EXPECT_EQ(element->tagName(), QString::fromLatin1(c.tagName)) << c.name;
        EXPECT_EQ(element->innerHTML(), c.innerHTML) << c.name;
        EXPECT_EQ(element->innerText(), c.innerText) << c.name;
    }
}

TEST(DocumentTest, MarkerNamesAreConfigurable) {
    TestHttpServer server;
    server.page("/game", kMarkedPage);
    TWebBrowser browser;
    browser.setMarkerNames({QStringLiteral("notamarker"), QStringLiteral("we\"ird'name")});
    BrowserEvents events(browser);
    ASSERT_TRUE(navigateAndWait(browser, events, server.url("/game")));

    EXPECT_TRUE(GetPageElement(browser.Document(), QStringLiteral("notamarker")).has_value());
    EXPECT_FALSE(GetPageElement(browser.Document(), QStringLiteral("swfurl")).has_value());
    EXPECT_EQ(browser::defaultMarkerNames().size(), 5);
}

TEST(DocumentTest, EachLoadTakesANewSnapshot) {
    TestHttpServer server;
    server.page("/game", kMarkedPage);
    server.page("/plain", "<!doctype html><title>plain</title><p>nothing here</p>");
    server.page("/late", "<!doctype html><title>late</title><div id='loginflag'>form</div>");
    TWebBrowser browser;
    BrowserEvents events(browser);
    ASSERT_TRUE(navigateAndWait(browser, events, server.url("/game")));
    const auto gameDocument = browser.Document();
    ASSERT_TRUE(gameDocument->isCurrent());

    ASSERT_TRUE(navigateAndWait(browser, events, server.url("/plain")));
    EXPECT_FALSE(GetPageElement(browser.Document(), QStringLiteral("swfurl")).has_value());
    EXPECT_EQ(browser.Document()->title(), QStringLiteral("plain"));
    // A document kept from before stays readable but is no longer current.
    EXPECT_FALSE(gameDocument->isCurrent());
    EXPECT_EQ(GetPageElement(gameDocument, QStringLiteral("swfurl"))->innerHTML(),
              QStringLiteral("/games/first.swf"));

    // Changes made by the page after its load are not part of its snapshot.
    ASSERT_TRUE(navigateAndWait(browser, events, server.url("/late")));
    evaluate(browser, "document.getElementById('loginflag').textContent = 'login';"
                      "document.title = 'changed';");
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.titles.contains(QStringLiteral("changed")); },
                                kLoadTimeoutMs));
    EXPECT_EQ(GetPageElement(browser.Document(), QStringLiteral("loginflag"))->innerText(),
              QStringLiteral("form"));
}

TEST(DocumentTest, FocusMovesTheInputFocusToTheElement) {
    TestHttpServer server;
    server.page("/login", "<!doctype html><title>login</title>"
                          "<input id='other' autofocus><input name='username' id='u'>");
    server.page("/plain", "<!doctype html><title>plain</title><input name='username' id='p'>");
    QWidget window;
    auto* browser = new TWebBrowser(&window);
    browser->setAlignClient(true);
    window.resize(400, 200);
    window.show();
    BrowserEvents events(*browser);
    ASSERT_TRUE(navigateAndWait(*browser, events, server.url("/login")));

    const auto field = GetPageElement(browser->Document(), QStringLiteral("username"));
    ASSERT_TRUE(field.has_value());
    field->focus();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return evaluate(*browser, "document.activeElement.id").toString() == "u"; },
        kLoadTimeoutMs));
    EXPECT_TRUE(browser->isInside(window.focusWidget()));

    // An element of a document the browser no longer shows focuses nothing.
    ASSERT_TRUE(navigateAndWait(*browser, events, server.url("/plain")));
    field->focus();
    spin(200);
    EXPECT_NE(evaluate(*browser, "document.activeElement.id").toString(), QStringLiteral("p"));
}

TEST(DocumentTest, DocumentOutlivesItsBrowser) {
    TestHttpServer server;
    server.page("/game", kMarkedPage);
    std::optional<HtmlDocument> document;
    std::optional<HtmlElement> field;
    {
        TWebBrowser browser;
        BrowserEvents events(browser);
        ASSERT_TRUE(navigateAndWait(browser, events, server.url("/game")));
        document = browser.Document();
        field = GetPageElement(document, QStringLiteral("username"));
    }
    ASSERT_TRUE(field.has_value());
    field->focus(); // the browser is gone: nothing happens
    EXPECT_FALSE(document->isCurrent());
    EXPECT_EQ(document->title(), QStringLiteral("跳跃小子"));
}

} // namespace
} // namespace zorvia::test
