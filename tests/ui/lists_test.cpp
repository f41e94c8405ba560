// The game lists' mouse, the search box and the upgrade link.
#include "support/test_http_server.h"
#include "support/modal.h"
#include "support/qt_print.h"
#include "text/codepage.h"
#include "ui/kit/list_box.h"
#include "ui/kit/page_control.h"
#include "ui/main/form1.h"
#include "ui/main/globals.h"

#include <QDesktopServices>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <QUrl>
#include <gtest/gtest.h>

#include <memory>

using namespace zorvia;

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
            {form->ListBox1, "1"}, {form->ListBox2, "2"}, {form->ListBox3, "3"}};
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
        ui::TListBox* TForm1::*list;
        Qt::MouseButton button;
        int row; // -1: below the last item
        int wantSelected;
        QByteArray wantRequest; // a new tab asks for this
        QMenu* TForm1::*wantMenu;
    };
    const Case cases[] = {
        {"left on an item opens it", &TForm1::ListBox1, Qt::LeftButton, 1, 1, "/item?list=1&n=1",
         nullptr},
        {"left below the last item clears", &TForm1::ListBox1, Qt::LeftButton, -1, -1, "", nullptr},
        {"right on the online list: no menu", &TForm1::ListBox1, Qt::RightButton, 1, 1, "",
         nullptr},
        {"right on a local game", &TForm1::ListBox2, Qt::RightButton, 1, 1, "",
         &TForm1::PopupMenu1},
        {"right below the local games", &TForm1::ListBox2, Qt::RightButton, -1, -1, "", nullptr},
        {"right on a favourite", &TForm1::ListBox3, Qt::RightButton, 0, 0, "", &TForm1::PopupMenu2},
        {"right below the favourites", &TForm1::ListBox3, Qt::RightButton, -1, -1, "", nullptr},
        {"middle selects only", &TForm1::ListBox3, Qt::MiddleButton, 1, 1, "", nullptr},
        {"left on a local game opens it", &TForm1::ListBox2, Qt::LeftButton, 0, 0,
         "/item?list=2&n=0", nullptr},
        {"left on a favourite opens it", &TForm1::ListBox3, Qt::LeftButton, 2, 2,
         "/item?list=3&n=2", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui::TListBox* list = (*form).*c.list;
        list->setCurrentRow(2); // a selection to replace or clear
        const int pages = form->PageControl2->pageCount();
        const QPoint at = c.row >= 0 ? itemCentre(list, c.row) : belowLastItem(list);
        QTest::mouseClick(list->viewport(), c.button, {}, at);

        EXPECT_EQ(list->selectedItems().size(), c.wantSelected >= 0 ? 1 : 0);
        if (c.wantSelected >= 0 && !list->selectedItems().isEmpty()) {
            EXPECT_EQ(list->row(list->selectedItems().front()), c.wantSelected);
        }
        EXPECT_EQ(form->PageControl2->pageCount(), pages + (c.wantRequest.isEmpty() ? 0 : 1));
        if (!c.wantRequest.isEmpty()) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return requested(c.wantRequest); }, 20000));
        }

        for (QMenu* TForm1::*menu : {&TForm1::PopupMenu1, &TForm1::PopupMenu2}) {
            EXPECT_EQ(((*form).*menu)->isVisible(), menu == c.wantMenu);
            ((*form).*menu)->hide();
        }
    }
    EXPECT_EQ(form->N1->text(), QStringLiteral("删除"));
    EXPECT_EQ(form->N2->text(), QStringLiteral("删除"));
}

TEST_F(Lists, FavouritesShowTheNameUnderTheMouseAsHint) {
    form->Button3->click();
    form->ListBox3->clear();
    form->ListBox3->addItem("short", "http://x/1");
    form->ListBox3->addItem(text::utf8ToAnsi("一个名字很长很长很长的小游戏"), "http://x/2");
    QWidget* viewport = form->ListBox3->viewport();

    QTest::mouseMove(viewport, itemCentre(form->ListBox3, 1));
    EXPECT_EQ(form->ListBox3->toolTip(), QStringLiteral("一个名字很长很长很长的小游戏"));
    QTest::mouseMove(viewport, belowLastItem(form->ListBox3));
    EXPECT_EQ(form->ListBox3->toolTip(), QStringLiteral("一个名字很长很长很长的小游戏"));
    QTest::mouseMove(viewport, itemCentre(form->ListBox3, 0));
    EXPECT_EQ(form->ListBox3->toolTip(), QStringLiteral("short"));

    // The hint shows when the mouse rests on the list.
    const QPoint at = itemCentre(form->ListBox3, 0);
    QHelpEvent help(QEvent::ToolTip, at, viewport->mapToGlobal(at));
    QCoreApplication::sendEvent(viewport, &help);
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 2000));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("short"));
    QToolTip::hideText();

    // Only the favourites have hints.
    form->ListBox1->addItem("category", "http://x/c");
    QTest::mouseMove(form->ListBox1->viewport(), itemCentre(form->ListBox1, 0));
    EXPECT_TRUE(form->ListBox1->toolTip().isEmpty());
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
        form->Edit_key->setText(c.keyword);
        const int pages = form->PageControl2->pageCount();
        QTest::mouseClick(form->Button_search, Qt::LeftButton);
        EXPECT_EQ(form->Edit_key->text(), c.keyword);
        if (c.wantTarget.isEmpty()) {
            ASSERT_EQ(closer.seen().size(), 1);
            EXPECT_EQ(closer.seen().front().caption, QStringLiteral("提示"));
            EXPECT_EQ(closer.seen().front().text, QStringLiteral("请输入关键字"));
            EXPECT_EQ(form->focusWidget(), form->Edit_key);
            EXPECT_EQ(form->PageControl2->pageCount(), pages);
        } else {
            EXPECT_TRUE(closer.seen().isEmpty());
            EXPECT_EQ(form->PageControl2->pageCount(), pages + 1);
            EXPECT_TRUE(QTest::qWaitFor([&] { return requested(c.wantTarget); }, 20000));
        }
    }
}

TEST_F(Lists, EnterInTheKeywordBoxSearches) {
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_FALSE(form->Button_search->isDefault());

    QTest::mouseClick(form->Edit_key, Qt::LeftButton);
    ASSERT_TRUE(form->Edit_key->hasFocus());
    EXPECT_TRUE(form->Button_search->isDefault());
    QTest::keyClicks(form->Edit_key, "abc");
    const int pages = form->PageControl2->pageCount();
    QTest::keyClick(form->Edit_key, Qt::Key_Return);
    EXPECT_EQ(form->PageControl2->pageCount(), pages + 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return requested("/mini.php?keyword=abc"); }, 20000));

    // It stays the default button once the focus has moved on; Enter on
    // another button presses that one.
    form->Button3->setFocus();
    EXPECT_TRUE(form->Button_search->isDefault());
    QTest::keyClick(form->Button3, Qt::Key_Return);
    EXPECT_EQ(form->PageControl1->activePage(), form->TabSheet3);
    EXPECT_EQ(form->PageControl2->pageCount(), pages + 1);

    form->Edit_key->setFocus();
    form->Edit_key->setText("xyz");
    QTest::keyClick(form->Edit_key, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return requested("/mini.php?keyword=xyz"); }, 20000));
}

TEST_F(Lists, UpgradeLinkOpensTheDefaultBrowser) {
    UrlCatcher catcher;
    QTest::mouseClick(form->Label_update, Qt::LeftButton);
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened.front().toString(),
              QString::fromStdString("http://" + SiteHost + "/wendo/"));

    // Pressed elsewhere and released on the link is no click.
    QTest::mousePress(form->Label_status, Qt::LeftButton);
    QTest::mouseRelease(form->Label_update, Qt::LeftButton);
    EXPECT_EQ(catcher.opened.size(), 1);
}

} // namespace

#include "lists_test.moc"
