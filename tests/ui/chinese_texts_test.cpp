// Qt's and the web engine's own texts in Chinese: the search field's
// context menu, an unreachable page, our message box with a long text.
#include "support/modal.h"
#include "ui/kit/message_box.h"
#include "ui/main/form1.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTcpServer>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <gtest/gtest.h>

#include "browser/web_browser.h"

#include <memory>

using namespace zorvia;

namespace {

QString screenshotPath(const QString& name) {
    const QString dir = QCoreApplication::applicationDirPath() + "/../screenshots";
    QDir().mkpath(dir);
    return dir + "/" + name;
}

// A loopback port where nothing listens.
quint16 closedPort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

// The main window after start-up against a portal that cannot be reached.
class Chinese : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("ZORVIA_SITE_HOST", QByteArray("127.0.0.1:") + QByteArray::number(closedPort()));
        form = std::make_unique<TForm1>();
        form->OnTerminate = [] {};
        form->FormCreate();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    std::unique_ptr<TForm1> form;
};

TEST_F(Chinese, SearchFieldContextMenu) {
    auto* edit = form->findChild<QLineEdit*>("Edit_key");
    ASSERT_NE(edit, nullptr);
    edit->setText(QStringLiteral("小游戏"));
    edit->selectAll();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                            edit->mapToGlobal(QPoint(10, 10)));
    QCoreApplication::sendEvent(edit, &event);
    QMenu* menu = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr; },
        3000))
        << "no context menu appeared";
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    QStringList texts;
    for (const QAction* action : menu->actions())
        if (!action->isSeparator())
            texts << action->text();
    // Shortcut letters "(&U)" and key names after a tab aside, no text of
    // the menu is in Latin letters.
    const QRegularExpression latin("[A-Za-z]");
    for (QString text : texts) {
        text.remove(QRegularExpression("\\(&.\\)|\\t.*$"));
        EXPECT_FALSE(text.contains(latin)) << text.toStdString();
    }
    EXPECT_TRUE(texts.join('|').contains(QStringLiteral("复制(&C)")))
        << texts.join('|').toStdString();
    // The menu as it appears on the screen, beside the field, once the
    // screen shows what the menu draws.
    const QPoint inside = menu->actionGeometry(menu->actions().first()).center();
    const QRgb drawn = menu->grab().toImage().pixel(inside);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const QPoint at = menu->mapToGlobal(inside);
            return menu->screen()->grabWindow(0, at.x(), at.y(), 1, 1).toImage().pixel(0, 0) ==
                   drawn;
        },
        5000));
    const QRect area =
        menu->geometry().united(edit->rect().translated(edit->mapToGlobal(QPoint())));
    menu->screen()
        ->grabWindow(0, area.x() - 4, area.y() - 4, area.width() + 8, area.height() + 8)
        .save(screenshotPath("search_context_menu.png"));
    menu->close();
}

TEST_F(Chinese, UnreachablePageShowsTheChineseErrorPage) {
    auto* browser = form->findChild<TWebBrowser*>("WebBrowser1");
    ASSERT_NE(browser, nullptr);
    // The page's text arrives through a callback that may outlive the test.
    auto text = std::make_shared<QString>();
    auto asked = std::make_shared<bool>(false);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            if (!*asked) {
                *asked = true;
                browser->page()->toPlainText([text, asked](const QString& t) {
                    *text = t;
                    *asked = false;
                });
            }
            return text->contains(QStringLiteral("无法访问此网站"));
        },
        60000))
        << text->toStdString();
    EXPECT_FALSE(text->contains("This site can")) << text->toStdString();
    // The error page's white background fills the tab below its text.
    const QRect view(browser->mapTo(form.get(), QPoint(0, 0)), browser->size());
    QImage shot;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            shot = form->grab().toImage();
            return shot.pixelColor(view.left() + 5, view.bottom() - 5) == QColor(Qt::white);
        },
        20000));
    shot.save(screenshotPath("unreachable_page.png"));
}

TEST(MessageBox, LongTextWrapsWithinTheScreen) {
    const QString name = QString(300, QLatin1Char('x')) + QStringLiteral(".swf");
    const QString text = QStringLiteral("无法创建文件 \"/home/user/flash/%1\"").arg(name);
    ui::TMessageBox box(nullptr, text, QStringLiteral("提示"), ui::TMessageBox::Icon::Error);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    const QRect screen = box.screen()->availableGeometry();
    EXPECT_LE(box.frameGeometry().width(), screen.width());
    EXPECT_TRUE(screen.contains(box.okButton()->mapToGlobal(box.okButton()->rect().center())));
    EXPECT_EQ(box.text(), text); // wrapped on screen only
    box.close();

    // The wrapped lines join back to the text and none is wider than asked.
    const QFont font = box.font();
    const QStringList lines = ui::wrapToWidth(text, font, 300, 0).split('\n');
    EXPECT_GT(lines.size(), 3);
    EXPECT_EQ(lines.join(QString()), text);
    for (const QString& line : lines)
        EXPECT_LE(QFontMetrics(font).horizontalAdvance(line), 300) << line.toStdString();
    EXPECT_EQ(ui::wrapToWidth(text, font, 300, 2).split('\n').size(), 2);
}

} // namespace
