// The game lists' mouse, the search box and the upgrade link.
#include "support/find_child.h"
#include "support/modal.h"
#include "support/qt_print.h"
#include "support/test_http_server.h"
#include "text/codepage.h"
#include "ui/kit/list_box.h"
#include "ui/kit/page_control.h"
#include "ui/main/form1.h"
#include "ui/main/globals.h"

#include <QAction>
#include <QDesktopServices>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QUrl>
#include <gtest/gtest.h>

#include <memory>
#include <string_view>

using namespace zorvia;
using zorvia::test::child;

namespace {

// Records the addresses handed to the desktop's default browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() { QDesktopServices::setUrlHandler("http", this, "open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler("http"); }
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }
};

// A main window after start-up against an unreachable portal; the portal
// host then points at a local test server, which records what the tabs
// request.
class Lists : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.isListening());
        server.page("/mini.php", "<title>search</title><p>results</p>");
        server.page("/item", "<title>item</title><p>item</p>");
        qputenv("ZORVIA_SITE_HOST", "127.0.0.1:9");
        form = std::make_unique<TForm1>();
        form->FormCreate();
        SiteHost = "127.0.0.1:" + std::to_string(server.port());
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    // Three items in each list, with links to the test server.
    void fillLists() {
        const std::pair<ui::TListBox*, const char*> lists[] = {
            {child<ui::TListBox>(form, "ListBox1"), "1"},
            {child<ui::TListBox>(form, "ListBox2"), "2"},
            {child<ui::TListBox>(form, "ListBox3"), "3"}};
        for (const auto& [list, tag] : lists) {
            list->clear();
            for (int i = 0; i < 3; ++i)
                list->addItem(std::string("item ") + char('a' + i), "http://" + SiteHost +
                                                                        "/item?list=" + tag +
                                                                        "&n=" + std::to_string(i));
        }
    }

    bool requested(const QByteArray& target) const {
        for (const auto& request : server.requests())
            if (request.target == target)
                return true;
        return false;
    }

    static QPoint itemCentre(const ui::TListBox* list, int index) {
        return list->visualItemRect(list->item(index)).center();
    }
    static QPoint belowLastItem(const ui::TListBox* list) {
        const QRect last = list->visualItemRect(list->item(list->count() - 1));
        return {last.left() + 10, last.bottom() + 20};
    }

    test::TestHttpServer server;
    std::unique_ptr<TForm1> form;
};

TEST_F(Lists, MouseSelectsOpensAndOffersTheListsMenu) {
    fillLists();
    struct Case {
        const char* name;
        const char* list;
        Qt::MouseButton button;
        int row; // -1: below the last item
        int wantSelected;
        QByteArray wantRequest; // a new tab asks for this
        const char* wantMenu;
    };
    const Case cases[] = {
        {"left on an item opens it", "ListBox1", Qt::LeftButton, 1, 1, "/item?list=1&n=1", nullptr},
        {"left below the last item clears", "ListBox1", Qt::LeftButton, -1, -1, "", nullptr},
        {"right on the online list: no menu", "ListBox1", Qt::RightButton, 1, 1, "", nullptr},
        {"right on a local game", "ListBox2", Qt::RightButton, 1, 1, "", "PopupMenu1"},
        {"right below the local games", "ListBox2", Qt::RightButton, -1, -1, "", nullptr},
        {"right on a favourite", "ListBox3", Qt::RightButton, 0, 0, "", "PopupMenu2"},
        {"right below the favourites", "ListBox3", Qt::RightButton, -1, -1, "", nullptr},
        {"middle selects only", "ListBox3", Qt::MiddleButton, 1, 1, "", nullptr},
        {"left on a local game opens it", "ListBox2", Qt::LeftButton, 0, 0, "/item?list=2&n=0",
         nullptr},
        {"left on a favourite opens it", "ListBox3", Qt::LeftButton, 2, 2, "/item?list=3&n=2",
         nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui::TListBox* list = child<ui::TListBox>(form, c.list);
        list->setCurrentRow(2); // a selection to replace or clear
        const int pages = child<ui::TPageControl>(form, "PageControl2")->pageCount();
        const QPoint at = c.row >= 0 ? itemCentre(list, c.row) : belowLastItem(list);
        QTest::mouseClick(list->viewport(), c.button, {}, at);

        EXPECT_EQ(list->selectedItems().size(), c.wantSelected >= 0 ? 1 : 0);
        if (c.wantSelected >= 0 && !list->selectedItems().isEmpty()) {
            EXPECT_EQ(list->row(list->selectedItems().front()), c.wantSelected);
        }
        EXPECT_EQ(child<ui::TPageControl>(form, "PageControl2")->pageCount(),
                  pages + (c.wantRequest.isEmpty() ? 0 : 1));
        if (!c.wantRequest.isEmpty()) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return requested(c.wantRequest); }, 20000));
        }

        for (const char* menu : {"PopupMenu1", "PopupMenu2"}) {
            EXPECT_EQ(child<QMenu>(form, menu)->isVisible(),
                      c.wantMenu != nullptr && std::string_view(menu) == c.wantMenu);
            child<QMenu>(form, menu)->hide();
        }
    }
    EXPECT_EQ(child<QAction>(form, "N1")->text(), QStringLiteral("删除"));
    EXPECT_EQ(child<QAction>(form, "N2")->text(), QStringLiteral("删除"));
}

TEST_F(Lists, FavouritesShowTheNameUnderTheMouseAsHint) {
    child<QPushButton>(form, "Button3")->click();
    child<ui::TListBox>(form, "ListBox3")->clear();
    child<ui::TListBox>(form, "ListBox3")->addItem("short", "http://x/1");
    child<ui::TListBox>(form, "ListBox3")
        ->addItem(text::utf8ToAnsi("一个名字很长很长很长的小游戏"), "http://x/2");
    QWidget* viewport = child<ui::TListBox>(form, "ListBox3")->viewport();

    auto* const favourites = child<ui::TListBox>(form, "ListBox3");
    // The pointer's moves reach the list through the X server.
    const auto hintAfterMove = [&](const QPoint& at, const QString& want) {
        QTest::mouseMove(viewport, at);
        return QTest::qWaitFor([&] { return favourites->toolTip() == want; }, 5000);
    };
    const QString longName = QStringLiteral("一个名字很长很长很长的小游戏");
    EXPECT_TRUE(hintAfterMove(itemCentre(favourites, 1), longName))
        << favourites->toolTip().toStdString();
    EXPECT_TRUE(hintAfterMove(belowLastItem(favourites), longName))
        << favourites->toolTip().toStdString();
    EXPECT_TRUE(hintAfterMove(itemCentre(favourites, 0), QStringLiteral("short")))
        << favourites->toolTip().toStdString();

    // The hint shows when the mouse rests on the list.
    const QPoint at = itemCentre(child<ui::TListBox>(form, "ListBox3"), 0);
    QHelpEvent help(QEvent::ToolTip, at, viewport->mapToGlobal(at));
    QCoreApplication::sendEvent(viewport, &help);
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 2000));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("short"));
    QToolTip::hideText();

    // Only the favourites have hints.
    child<ui::TListBox>(form, "ListBox1")->addItem("category", "http://x/c");
    QTest::mouseMove(child<ui::TListBox>(form, "ListBox1")->viewport(),
                     itemCentre(child<ui::TListBox>(form, "ListBox1"), 0));
    EXPECT_TRUE(child<ui::TListBox>(form, "ListBox1")->toolTip().isEmpty());
}

TEST_F(Lists, SearchOpensTheEncodedKeyword) {
    struct Case {
        QString keyword;
        QByteArray wantTarget; // empty: refused
    };
    const Case cases[] = {
        {"a b", "/mini.php?keyword=a%20b"},
        {"c++", "/mini.php?keyword=c%2B%2B"},
        {QStringLiteral("中文"), "/mini.php?keyword=%E4%B8%AD%E6%96%87"},
        {"   ", "/mini.php?keyword=%20%20%20"},
        {"x_y-z.9", "/mini.php?keyword=x_y-z.9"},
        {"&=?/", "/mini.php?keyword=%26%3D%3F%2F"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keyword.toStdString());
        ModalCloser closer;
        child<QLineEdit>(form, "Edit_key")->setText(c.keyword);
        const int pages = child<ui::TPageControl>(form, "PageControl2")->pageCount();
        QTest::mouseClick(child<QPushButton>(form, "Button_search"), Qt::LeftButton);
        EXPECT_EQ(child<QLineEdit>(form, "Edit_key")->text(), c.keyword);
        if (c.wantTarget.isEmpty()) {
            ASSERT_EQ(closer.seen().size(), 1);
            EXPECT_EQ(closer.seen().front().caption, QStringLiteral("提示"));
            EXPECT_EQ(closer.seen().front().text, QStringLiteral("请输入关键字"));
            EXPECT_EQ(form->focusWidget(), child<QLineEdit>(form, "Edit_key"));
            EXPECT_EQ(child<ui::TPageControl>(form, "PageControl2")->pageCount(), pages);
        } else {
            EXPECT_TRUE(closer.seen().isEmpty());
            EXPECT_EQ(child<ui::TPageControl>(form, "PageControl2")->pageCount(), pages + 1);
            EXPECT_TRUE(QTest::qWaitFor([&] { return requested(c.wantTarget); }, 20000));
        }
    }
}

TEST_F(Lists, EnterInTheKeywordBoxSearches) {
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_FALSE(child<QPushButton>(form, "Button_search")->isDefault());

    QTest::mouseClick(child<QLineEdit>(form, "Edit_key"), Qt::LeftButton);
    ASSERT_TRUE(child<QLineEdit>(form, "Edit_key")->hasFocus());
    EXPECT_TRUE(child<QPushButton>(form, "Button_search")->isDefault());
    QTest::keyClicks(child<QLineEdit>(form, "Edit_key"), "abc");
    const int pages = child<ui::TPageControl>(form, "PageControl2")->pageCount();
    QTest::keyClick(child<QLineEdit>(form, "Edit_key"), Qt::Key_Return);
    EXPECT_EQ(child<ui::TPageControl>(form, "PageControl2")->pageCount(), pages + 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return requested("/mini.php?keyword=abc"); }, 20000));

    // It stays the default button once the focus has moved on; Enter on
    // another button presses that one.
    child<QPushButton>(form, "Button3")->setFocus();
    EXPECT_TRUE(child<QPushButton>(form, "Button_search")->isDefault());
    QTest::keyClick(child<QPushButton>(form, "Button3"), Qt::Key_Return);
    EXPECT_EQ(child<ui::TPageControl>(form, "PageControl1")->activePage(),
              child<ui::TTabSheet>(form, "TabSheet3"));
    EXPECT_EQ(child<ui::TPageControl>(form, "PageControl2")->pageCount(), pages + 1);

    child<QLineEdit>(form, "Edit_key")->setFocus();
    child<QLineEdit>(form, "Edit_key")->setText("xyz");
    QTest::keyClick(child<QLineEdit>(form, "Edit_key"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return requested("/mini.php?keyword=xyz"); }, 20000));
}

TEST_F(Lists, UpgradeLinkOpensTheDefaultBrowser) {
    UrlCatcher catcher;
    QTest::mouseClick(child<QLabel>(form, "Label_update"), Qt::LeftButton);
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened.front().toString(),
              QString::fromStdString("http://" + SiteHost + "/wendo/"));

    // Pressed elsewhere and released on the link is no click.
    QTest::mousePress(child<QLabel>(form, "Label_status"), Qt::LeftButton);
    QTest::mouseRelease(child<QLabel>(form, "Label_update"), Qt::LeftButton);
    EXPECT_EQ(catcher.opened.size(), 1);
}

TEST_F(Lists, UpgradeLinkWithoutABrowserSaysSo) {
    // No browser to be found: nothing on the search path, none named.
    QTemporaryDir emptyPath;
    const QByteArray path = qgetenv("PATH");
    const QByteArray browser = qgetenv("BROWSER");
    qputenv("PATH", emptyPath.path().toLocal8Bit());
    qunsetenv("BROWSER");
    qunsetenv("DEFAULT_BROWSER");
    ModalCloser closer;
    QTest::mouseClick(form->findChild<QLabel*>("Label_update"), Qt::LeftButton);
    qputenv("PATH", path);
    if (!browser.isEmpty())
        qputenv("BROWSER", browser);
    ASSERT_EQ(closer.seen().size(), 1);
    EXPECT_EQ(closer.seen().front().caption, QStringLiteral("提示"));
    EXPECT_EQ(closer.seen().front().text,
              QStringLiteral("无法启动网页浏览器，请手动访问：") +
                  QString::fromStdString("http://" + SiteHost + "/wendo/"));
}

} // namespace

#include "lists_test.moc"
