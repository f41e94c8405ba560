// The windows of the game box with every control skinned: screenshots for
// the eye, and the skinned buttons checked against the skin's own image.
#include "browser/web_browser.h"
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
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
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
    // The screenshot shows the pages of the three tabs.
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return TForm1::pageBrowser(
                           form->findChild<ui::TPageControl*>("PageControl2")->page(i))
                    ->Document()
                    .has_value();
            },
            20000));
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

// The colours of the centre of state `state` (counted from 1) of a
// two-state image: the part that is stretched to the drawn size.
QSet<QRgb> centreColours(const TDataSkinBorder& look, int state) {
    const QImage image = look.Image.convertToFormat(QImage::Format_RGB32);
    const int w = image.width() / 2;
    QSet<QRgb> colours;
    for (int y = look.TopHeight; y < image.height() - look.BottomHeight; ++y)
        for (int x = look.LeftWidth; x < w - look.RightWidth; ++x)
            colours.insert(image.pixel((state - 1) * w + x, y) & 0xFFFFFF);
    return colours;
}

TEST_F(SkinnedWindows, DownloadWindowDuringADownload) {
    test::ProgramFolderGuard folder;
    const std::string body = "FWS" + std::string(300000 - 3, 'x');
    // The portal sends 120000 bytes and holds until the test lets it go on.
    test::ScriptServer server(
        {test::awaitText("\r\n\r\n"),
         test::send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
                    "\r\n\r\n" + body.substr(0, 120000)),
         test::hold(), test::send(body.substr(120000))});
    auto* window = new TForm2(form.get(), form->dataFolder());
    waitSkinned(window, "ListView1");
    window->AddDownloadItem(text::utf8ToAnsi("星际舰队 高清版"));
    SiteHost = "127.0.0.1:" + server.portText();
    bool shot = false;
    QString status;
    QImage cellShown;
    QTimer poll;
    QElapsedTimer held;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, window, [&] {
        if (server.holdsReached() == 0)
            return;
        if (!held.isValid())
            held.start();
        // The whole blocks of the burst, waited for at most 20 s.
        status = window->statusText();
        if (status != QStringLiteral("119808/300000") && held.elapsed() < 20000)
            return;
        poll.stop();
        shot = window->grab().save(shotPath("skinned_download_window.png"));
        auto* list = window->findChild<QTreeWidget*>("ListView1");
        const QTreeWidgetItem* row = list->topLevelItem(0);
        const QRect bar = list->visualItemRect(row).adjusted(2, 2, -2, -2);
        const QRect cell(list->columnViewportPosition(1) + 2, bar.top(), list->columnWidth(1) - 4,
                         bar.height());
        cellShown =
            list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(cell);
        server.release();
    });
    poll.start();
    ModalCloser closer;
    EXPECT_TRUE(window->DownloadGame("games/zorvia_skin_shot.swf"));
    EXPECT_EQ(status, QStringLiteral("119808/300000"));
    EXPECT_TRUE(shot);
    ASSERT_FALSE(cellShown.isNull());
    // The status cell shows the skin's progress bar: beside the centred text,
    // the bar's start in colours of the bitmap's second state, the channel's
    // end in colours of its first; the two states share no colour.
    const TDataSkinBorder& look = *form->SkinData1.Model().Progress;
    const QSet<QRgb> barColours = centreColours(look, 2);
    const QSet<QRgb> channelColours = centreColours(look, 1);
    ASSERT_FALSE(barColours.intersects(channelColours));
    const int y = cellShown.height() / 2;
    EXPECT_TRUE(barColours.contains(cellShown.pixel(6, y) & 0xFFFFFF));
    EXPECT_TRUE(channelColours.contains(cellShown.pixel(cellShown.width() - 6, y) & 0xFFFFFF));
}

} // namespace
