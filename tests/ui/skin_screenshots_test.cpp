// The windows of the game box with every control skinned: screenshots for
// the eye, and the skinned buttons checked against the skin's own image.
#include "skin/controls/skin_progress.h"
#include "skin/skin_draw.h"
#include "skin/skin_events.h"
#include "support/demo_portal.h"
#include "support/modal.h"
#include "support/portal_window_test.h"
#include "support/program_folder_guard.h"
#include "support/script_server.h"
#include "text/codepage.h"
#include "ui/confirm/form3.h"
#include "ui/down/form2.h"
#include "ui/kit/list_box.h"
#include "ui/kit/message_box.h"
#include "ui/kit/page_control.h"
#include "ui/main/form1.h"
#include "ui/main/globals.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <memory>

using namespace zorvia;

namespace {

// Waits until the skin manager has given the window's control its skinner.
void waitSkinned(QWidget* window, const char* control) {
    QCursor::setPos(1270, 1010); // no control under the pointer
    QWidget* widget = window->findChild<QWidget*>(control);
    ASSERT_TRUE(widget) << control;
    QApplication::setActiveWindow(window);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return skin::isSkinned(widget); }, 5000)) << control;
}

QString shotPath(const QString& name) {
    const QString dir = QCoreApplication::applicationDirPath() + "/../screenshots";
    QDir().mkpath(dir);
    return dir + "/" + name;
}

// The button's left margin shows its state image as the skin draws it.
void expectButtonImage(QPushButton* button, const TSkinData& data, int state) {
    const TDataSkinButton& look = data.Model().Buttons;
    QImage want(button->size(), QImage::Format_RGB32);
    want.fill(data.Model().qcolour(skin::SlotButtonFace));
    skin::DrawSkinObject(want, want.rect(), look, state);
    const QImage shown = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The outer columns: clear of the caption and its focus rectangle.
    for (int y = 0; y < button->height(); ++y)
        for (int x = 0; x < 3; ++x)
            ASSERT_EQ(shown.pixel(x, y), want.pixel(x, y))
                << button->objectName().toStdString() << " at " << x << "," << y;
}

class SkinnedWindows : public zorvia::test::PortalWindowTest {};

TEST_F(SkinnedWindows, MainWindowWithTabsAndScrolledLists) {
    auto* online = form->findChild<ui::TListBox*>("ListBox1");
    ASSERT_TRUE(online);
    const int categories = online->count();
    ASSERT_GT(categories, 0);
    for (int i = 0; i < 3; ++i)
        form->CreateNewTab(online->link(i % categories));
    for (int i = 0; i < 40; ++i)
        online->addItem(text::utf8ToAnsi("更多小游戏分类 " + std::to_string(i + 1)), "");
    waitSkinned(form.get(), "ListBox1");
    QTest::qWait(2500);
    online->verticalScrollBar()->setValue(online->verticalScrollBar()->maximum() / 2);
    auto* tabs = form->findChild<ui::TPageControl*>("PageControl2");
    ASSERT_GE(tabs->pageCount(), 4);

    EXPECT_TRUE(form->grab().save(shotPath("skinned_main_window.png")));
    expectButtonImage(form->findChild<QPushButton*>("Button_search"), form->SkinData1, 1);
    expectButtonImage(form->findChild<QPushButton*>("Button_down"), form->SkinData1, 3);
}

TEST_F(SkinnedWindows, DialogAndMessageBox) {
    TForm3 dialog(form.get());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    waitSkinned(&dialog, "Button1");
    EXPECT_TRUE(dialog.grab().save(shotPath("skinned_dialog.png")));
    // Button1, the dialog's default button, shows image 5.
    expectButtonImage(dialog.findChild<QPushButton*>("Button1"), form->SkinData1, 5);

    ui::TMessageBox box(form.get(), QStringLiteral("该游戏已经下载过，请不要重复下载"),
                        QStringLiteral("提示"), ui::TMessageBox::Icon::None);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    waitSkinned(&box, "OK");
    EXPECT_TRUE(box.grab().save(shotPath("skinned_message_box.png")));
    expectButtonImage(box.okButton(), form->SkinData1, 5);
}

TEST_F(SkinnedWindows, DownloadWindowDuringADownload) {
    test::ProgramFolderGuard folder;
    const std::string body(300000, 'x');
    test::ScriptServer server(
        {test::awaitText("\r\n\r\n"),
         test::send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
                    "\r\n\r\n" + body.substr(0, 120000)),
         test::pause(1500), test::send(body.substr(120000))});
    auto* window = new TForm2(form.get(), form->dataFolder());
    waitSkinned(window, "ListView1");
    window->AddDownloadItem(text::utf8ToAnsi("星际舰队 高清版"));
    SiteHost = "127.0.0.1:" + server.portText();
    bool shot = false;
    QImage cellShown, cellWanted;
    QTimer::singleShot(800, window, [&] {
        shot = window->grab().save(shotPath("skinned_download_window.png"));
        // The status cell: the skin's progress bar at the row's fraction.
        auto* list = window->findChild<QTreeWidget*>("ListView1");
        const QTreeWidgetItem* row = list->topLevelItem(0);
        const QStringList counts = row->text(1).split('/');
        ASSERT_EQ(counts.size(), 2) << row->text(1).toStdString();
        const QRect bar = list->visualItemRect(row).adjusted(2, 2, -2, -2);
        const QRect cell(list->columnViewportPosition(1) + 2, bar.top(), list->columnWidth(1) - 4,
                         bar.height());
        cellShown =
            list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(cell);
        cellWanted = QImage(cell.size(), QImage::Format_RGB32);
        cellWanted.fill(list->palette().color(QPalette::Base));
        QPainter painter(&cellWanted);
        skin::drawProgress(painter, cellWanted.rect(), counts[0].toDouble() / counts[1].toDouble(),
                           form->SkinData1.Model());
    });
    ModalCloser closer;
    EXPECT_TRUE(window->DownloadGame("games/zorvia_skin_shot.swf"));
    EXPECT_TRUE(shot);
    ASSERT_FALSE(cellShown.isNull());
    // Beside the centred text: the bar's start and the channel's end.
    const int y = cellShown.height() / 2;
    for (const int x : {6, cellShown.width() - 6})
        EXPECT_EQ(QColor(cellShown.pixel(x, y)), QColor(cellWanted.pixel(x, y))) << x;
    EXPECT_NE(cellWanted.pixel(6, y), cellWanted.pixel(cellShown.width() - 6, y));
}

} // namespace
