// The demo portal's steerable game played with real keys and clicks through
// the X server: on its portal page, and downloaded and opened from the local
// list. The arrow keys move its square, a click or Enter scores (the score
// bar in the movie's top-left corner grows). A new game tab takes the
// keyboard at once, so the first keys need no click.
#include "browser/web_browser.h"
#include "support/browser_test_support.h"
#include "support/demo_portal.h"
#include "support/modal.h"
#include "support/program_folder_guard.h"
#include "support/x_input.h"
#include "ui/kit/list_box.h"
#include "ui/main/form1.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QWebEngineView>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace zorvia::test {
namespace {

// Game 141 of the demo portal: 550×400, a square of #ffca28 in the middle
// of #004d40, score bar #ff5252 20 pixels high at (10, 10).
constexpr int kGameId = 141;
constexpr QSize kMovie{550, 400};
constexpr QRgb kSquare = qRgb(0xff, 0xca, 0x28);
constexpr QRgb kBar = qRgb(0xff, 0x52, 0x52);
constexpr int kMoved = 30; // view pixels

QImage viewImage(TWebBrowser& browser) {
    return browser.view()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The centre of the square inside the stage, or none while it is not drawn.
std::optional<QPoint> squareAt(TWebBrowser& browser, const QRect& stage) {
    const QImage image = viewImage(browser);
    qint64 x = 0, y = 0, n = 0;
    for (int py = stage.top(); py <= stage.bottom(); py += 2)
        for (int px = stage.left(); px <= stage.right(); px += 2)
            if (image.valid(px, py) && (image.pixel(px, py) | 0xff000000u) == kSquare)
                x += px, y += py, ++n;
    if (n == 0)
        return std::nullopt;
    return QPoint(int(x / n), int(y / n));
}

// The score bar's length in view pixels along its middle row.
int scoreLength(TWebBrowser& browser, const QRect& stage) {
    const QImage image = viewImage(browser);
    const int row = stage.top() + 20 * stage.height() / kMovie.height();
    int n = 0;
    for (int px = stage.left(); px <= stage.right(); ++px)
        n += image.valid(px, row) && (image.pixel(px, row) | 0xff000000u) == kBar;
    return n;
}

bool scoresWith(TWebBrowser& browser, const QRect& stage, const QStringList& input) {
    const int before = scoreLength(browser, stage);
    return xdotool(input) &&
           QTest::qWaitFor([&] { return scoreLength(browser, stage) > before; }, kLoadTimeoutMs);
}

// Holds key down until the square has moved kMoved pixels along its axis,
// then lets it go.
bool holdMoves(TWebBrowser& browser, const QRect& stage, const char* key, QPoint direction) {
    const std::optional<QPoint> start = squareAt(browser, stage);
    if (!start || !xdotool({"keydown", key}))
        return false;
    const bool moved = QTest::qWaitFor(
        [&] {
            const std::optional<QPoint> now = squareAt(browser, stage);
            return now && QPoint::dotProduct(*now - *start, direction) >= kMoved;
        },
        kLoadTimeoutMs);
    if (!xdotool({"keyup", key}))
        return false;
    // Enter after the release scores once the movie has had the release; from
    // that score to the next the square, still on the stage, stays put (a
    // held key moves it every frame).
    const auto afterScore = [&]() -> std::optional<QPoint> {
        if (!scoresWith(browser, stage, {"key", "Return"}))
            return std::nullopt;
        return squareAt(browser, stage);
    };
    const std::optional<QPoint> released = afterScore();
    return moved && released && afterScore() == released;
}

void play(TForm1& form, TWebBrowser& browser, const QRect& stage) {
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return squareAt(browser, stage).has_value(); }, kPlayerTimeoutMs));
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form, kLoadTimeoutMs));
    // No click first: the new tab's movie has the keyboard.
    EXPECT_TRUE(browser.isInside(QApplication::focusWidget()));
    EXPECT_TRUE(holdMoves(browser, stage, "Right", {1, 0}));
    EXPECT_TRUE(holdMoves(browser, stage, "Down", {0, 1}));
    // A click into the movie scores and leaves the movie the keyboard.
    const QPoint corner = browser.view()->mapToGlobal(
        stage.topLeft() + QPoint(stage.width() / 5, stage.height() * 4 / 5));
    EXPECT_TRUE(scoresWith(
        browser, stage,
        {"mousemove", QString::number(corner.x()), QString::number(corner.y()), "click", "1"}));
    EXPECT_TRUE(scoresWith(browser, stage, {"key", "Return"}));
    EXPECT_TRUE(holdMoves(browser, stage, "Left", {-1, 0}));
    EXPECT_TRUE(holdMoves(browser, stage, "Up", {0, -1}));
}

// Where the player shows the movie in the page, in view pixels.
QRect playerRect(TWebBrowser& browser) {
    const QVariantList r =
        evaluate(browser,
                 QStringLiteral("(function () {"
                                "  var e = document.querySelector('ruffle-object,ruffle-embed');"
                                "  if (!e) return [];"
                                "  var r = e.getBoundingClientRect();"
                                "  return [r.x, r.y, r.width, r.height];"
                                "})()"))
            .toList();
    return r.size() == 4 ? QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt()) : QRect();
}

TEST(SteerGame, ArrowKeysMoveItAndClicksScoreOnItsPortalPageAndAsALocalGame) {
    ProgramFolderGuard guard;
    DemoPortal portal;
    ASSERT_TRUE(portal.running()) << portal.error().toStdString();
    qputenv("ZORVIA_SITE_HOST", portal.host().toUtf8());
    TForm1 form;
    form.FormCreate();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    form.CreateNewTab(portal.url("/mini.php?itemid=" + QString::number(kGameId)).toStdString());
    TWebBrowser* browser = form.activeBrowser();
    QRect stage;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(stage = playerRect(*browser)).isEmpty(); },
                                kPlayerTimeoutMs));
    // The page wrote its movie, from the portal's file host, once it had
    // found a Flash player.
    EXPECT_TRUE(evaluate(*browser, "document.querySelector('ruffle-embed').getAttribute('src')")
                    .toString()
                    .startsWith("http://localhost:"));
    {
        SCOPED_TRACE("portal page");
        play(form, *browser, stage);
    }
    {
        SCOPED_TRACE("the page's search field, then the movie again");
        // In an ordinary element Enter and the arrows do nothing: no caret
        // move, no search, and the keys after them are typed as they are.
        // "c" comes last, so once the page has seen it they have been handled.
        const QVariantList field =
            evaluate(*browser, "(function () {"
                               "  var r = document.querySelector('input[name=keyword]')"
                               "      .getBoundingClientRect();"
                               "  return [r.x + 10, r.y + r.height / 2];"
                               "})()")
                .toList();
        ASSERT_EQ(field.size(), 2);
        const QString address = browser->LocationURL();
        const QPoint at = browser->view()->mapToGlobal(QPoint(field[0].toInt(), field[1].toInt()));
        ASSERT_TRUE(
            xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"}));
        // The page reports that the movie gave up the keyboard.
        ASSERT_TRUE(QTest::qWaitFor([&] { return !browser->movieHasFocus(); }, kLoadTimeoutMs));
        // The page notes the keys and a form's submission as they happen.
        evaluate(*browser, "window.seen = [];"
                           "addEventListener('keydown', e => seen.push(e.key), true);"
                           "addEventListener('submit', () => seen.push('submit'), true); 0");
        ASSERT_TRUE(xdotool({"key", "--delay", "40", "a", "Left", "b", "Return", "Up", "c"}));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return evaluate(*browser, "window.seen").toList().contains("c"); },
            kLoadTimeoutMs));
        EXPECT_EQ(evaluate(*browser, "window.seen.join()").toString(), "a,b,c");
        const QString value = "document.querySelector('input[name=keyword]').value";
        EXPECT_EQ(evaluate(*browser, value).toString(), "abc");
        EXPECT_EQ(browser->LocationURL(), address);
        EXPECT_FALSE(browser->movieHasFocus());
        const QPoint movie =
            browser->view()->mapToGlobal(stage.center() + QPoint(0, stage.height() / 3));
        ASSERT_TRUE(xdotool(
            {"mousemove", QString::number(movie.x()), QString::number(movie.y()), "click", "1"}));
        ASSERT_TRUE(QTest::qWaitFor([&] { return browser->movieHasFocus(); }, kLoadTimeoutMs));
        EXPECT_TRUE(holdMoves(*browser, stage, "Right", {1, 0}));
    }

    auto* download = form.findChild<QPushButton*>(QStringLiteral("Button_down"));
    ASSERT_TRUE(download && download->isEnabled());
    {
        ModalCloser closer;
        download->click();
        ASSERT_TRUE(closer.texts().isEmpty()) << closer.texts().join('|').toStdString();
    }
    auto* list = form.findChild<ui::TListBox*>(QStringLiteral("ListBox2"));
    ASSERT_TRUE(list && list->count() > 0);
    form.CreateNewTab(list->link(list->count() - 1));
    browser = form.activeBrowser();
    // The local game fills the view at its aspect ratio.
    const QSize view = browser->view()->size();
    const QSize scaled = kMovie.scaled(view, Qt::KeepAspectRatio);
    stage = QRect(
        QPoint((view.width() - scaled.width()) / 2, (view.height() - scaled.height()) / 2), scaled);
    SCOPED_TRACE("local game");
    play(form, *browser, stage);
}

} // namespace
} // namespace zorvia::test
