#include "ui/workspace_fixture.h"

#include "support/find_child.h"
#include "support/x_input.h"
#include "ui/kit/page_control.h"
#include "ui/main/page_children.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

using zorvia::test::child;

namespace zorvia::test {

const QString kGame1Help = QStringLiteral("Arrow keys move.<br>Space jumps.");
const QString kGame2Help = QStringLiteral("第二个游戏：鼠标点击开始");

namespace {

QString gamePage(const QString& title, const QString& swf, const QString& help) {
    QString html = "<!doctype html><meta charset=utf-8><title>" + title + "</title><body>" +
                   "<span id=swfurl hidden>" + swf + "</span>";
    if (!help.isNull())
        html += "<div id=swfhelp>" + help + "</div>";
    return html;
}

const char* const kInputPage = R"(<!doctype html><meta charset=utf-8><title>input</title>
<body style='margin:0'>
<input id=field style='position:absolute;left:10px;top:10px;width:300px;height:30px'>
<div id=area style='position:absolute;left:0;top:60px;width:100%;height:300px'></div>
<script>
  window.downs = []; window.ups = []; window.keys = []; window.keyups = []; window.menus = 0;
  addEventListener('mousedown', e => downs.push(e.button), true);
  addEventListener('mouseup', e => ups.push(e.button), true);
  addEventListener('contextmenu', e => { menus++; }, true);
  addEventListener('keydown', e => keys.push(e.key), true);
  addEventListener('keyup', e => keyups.push(e.key), true);
</script>)";

const char* const kOpenerPage = R"(<!doctype html><meta charset=utf-8><title>opener</title>
<body style='margin:0'>
<a id=link href='/b' target=_blank style='display:block;width:200px;height:60px'>open b</a>
<form id=form method=post action='/c' target=_blank><input name=q value=1></form>)";

} // namespace

void addWorkspacePages(TestHttpServer& server) {
    server.page("/a", "<!doctype html><title>A</title><body>a");
    server.page("/b", "<!doctype html><title>B</title><body>b");
    server.page("/c", "<!doctype html><title>C</title><body>c");
    server.page("/game1", gamePage("Game one", "games/one.swf", kGame1Help));
    server.page("/game2", gamePage("Game two", "games/two.swf", kGame2Help));
    server.page("/nohelp", gamePage("No help", "games/three.swf", QString()));
    server.page("/opener", kOpenerPage);
    server.page("/input", kInputPage);
    server.page("/long", QStringLiteral("<!doctype html><meta charset=utf-8>"
                                        "<title>一二三四五六七八九十甲乙</title>"));
}

Workspace::Workspace() : form_(std::make_unique<TForm1>()) {
    addWorkspacePages(server_);
    form_->show();
    (void)focusInside(form_.get(), form_.get());
}

Workspace::~Workspace() = default;

int Workspace::pageCount() const {
    return child<ui::TPageControl>(form_, "PageControl2")->pageCount();
}

ui::TTabSheet* Workspace::page(int index) const {
    return child<ui::TPageControl>(form_, "PageControl2")->page(index);
}

TWebBrowser* Workspace::browser(int index) const {
    return TForm1::pageBrowser(page(index));
}

int Workspace::activeIndex() const {
    return child<ui::TPageControl>(form_, "PageControl2")->activePageIndex();
}

bool Workspace::waitForDocument(TWebBrowser* browser, const QString& url) {
    return browser != nullptr && QTest::qWaitFor(
                                     [&] {
                                         const auto document = browser->Document();
                                         return document && document->location() == url;
                                     },
                                     kLoadTimeoutMs);
}

bool Workspace::openTab(const QString& path) {
    form_->CreateNewTab(url(path).toStdString());
    return waitForDocument(form_->activeBrowser(), url(path));
}

bool Workspace::load(TWebBrowser* browser, const QString& path) {
    browser->Navigate(url(path));
    return waitForDocument(browser, url(path));
}

QString Workspace::gameButtons() const {
    QString states;
    for (const QPushButton* button :
         {child<QPushButton>(form_, "Button_favor"), child<QPushButton>(form_, "Button_down"),
          child<QPushButton>(form_, "Button_help")})
        states += button->isEnabled() ? '1' : '0';
    return states;
}

void Workspace::setGameButtons(const QString& states) {
    QPushButton* const buttons[] = {child<QPushButton>(form_, "Button_favor"),
                                    child<QPushButton>(form_, "Button_down"),
                                    child<QPushButton>(form_, "Button_help")};
    for (int i = 0; i < 3; ++i)
        buttons[i]->setEnabled(states.at(i) == '1');
}

bool xClick(const QWidget* widget, QPoint pos, int button, int count) {
    const QPoint global = widget->mapToGlobal(pos);
    return xdotool({"mousemove", QString::number(global.x()), QString::number(global.y()), "sleep",
                    "0.1", "click", "--repeat", QString::number(count), "--delay", "80",
                    QString::number(button)});
}

bool xKeys(const QStringList& keys) {
    return xdotool(QStringList{"key", "--delay", "40"} + keys);
}

bool focusInside(QWidget* window, QWidget* widget) {
    window->activateWindow();
    window->raise();
    if (!QTest::qWaitForWindowActive(window, 5000))
        return false;
    widget->setFocus(Qt::OtherFocusReason);
    return QTest::qWaitFor([&] { return QApplication::focusWidget() == widget; }, 5000);
}

} // namespace zorvia::test
