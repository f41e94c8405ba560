#include "support/browser_test_support.h"

#include "browser/web_profile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWidget>

#include <cstdlib>

#include <gtest/gtest.h>

namespace zorvia::test {

namespace {

// Every browser of the test run shares a profile in a fresh folder.
class ProfileEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        browser::setProfileStoragePath(dir_.path());
    }

private:
    QTemporaryDir dir_;
};

[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ProfileEnvironment);

} // namespace

BrowserEvents::BrowserEvents(TWebBrowser& browser) {
    browser.OnTitleChange = [this](TWebBrowser* sender, const QString& text) {
        senders.append(sender);
        titles.append(text);
    };
    browser.OnDocumentComplete = [this](TWebBrowser* sender, const BrowserApplication& pDisp,
                                        const QString& url) {
        EXPECT_EQ(pDisp.browser(), sender);
        senders.append(sender);
        completedUrls.append(url);
    };
}

bool navigateAndWait(TWebBrowser& browser, BrowserEvents& events, const QString& url) {
    const qsizetype before = events.completedUrls.size();
    browser.Navigate(url);
    return QTest::qWaitFor([&] { return events.completedUrls.size() > before; }, kLoadTimeoutMs);
}

bool waitForDocumentAt(const TWebBrowser& browser, const QString& url) {
    return QTest::qWaitFor(
        [&] {
            const auto document = browser.Document();
            return document && document->location() == url;
        },
        kLoadTimeoutMs);
}

QVariant evaluate(TWebBrowser& browser, const QString& script) {
    return evaluate(*browser.page(), script, QWebEngineScript::MainWorld);
}

QVariant evaluate(QWebEnginePage& page, const QString& script, quint32 worldId) {
    struct Outcome {
        QVariant value;
        bool done = false;
    };
    auto outcome = std::make_shared<Outcome>();
    page.runJavaScript(script, worldId, [outcome](const QVariant& value) {
        outcome->value = value;
        outcome->done = true;
    });
    (void)QTest::qWaitFor([&] { return outcome->done; }, kLoadTimeoutMs);
    return outcome->value;
}

void runInClick(TWebBrowser& browser, const QString& script) {
    evaluate(browser,
             QStringLiteral("(() => { const cover = document.createElement('div');"
                            " cover.style.cssText = 'position:fixed;inset:0;"
                            "z-index:2147483647';"
                            " cover.addEventListener('click', () => { cover.remove(); %1 });"
                            " document.documentElement.appendChild(cover); })(); 0")
                 .arg(script));
    QWidget* input = browser.inputWidget();
    QTest::mouseClick(input, Qt::LeftButton, {}, input->rect().center());
}

QString requestOutcome(TWebBrowser& browser, const QString& url) {
    evaluate(browser, QStringLiteral("window.outcome = undefined;"
                                     "var r = new XMLHttpRequest(); r.open('GET', '%1');"
                                     "r.onload = () => outcome = r.status === 200 ?"
                                     " r.getResponseHeader('content-type') : 'status ' + r.status;"
                                     "r.onerror = () => outcome = 'failed'; r.send(); 0")
                          .arg(url));
    if (!QTest::qWaitFor([&] { return evaluate(browser, "typeof outcome").toString() == "string"; },
                         kLoadTimeoutMs))
        return QStringLiteral("no answer");
    return evaluate(browser, "outcome").toString();
}

namespace {

QImage grabOf(QWidget& widget, const QRect& rect) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32).copy(rect);
}

bool oneColour(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != image.pixel(0, 0))
                return false;
        }
    }
    return true;
}

} // namespace

bool framesAdvance(QWidget& widget, const QRect& rect, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    QImage before = grabOf(widget, rect);
    while (clock.elapsed() < timeoutMs) {
        QTest::qWait(1000);
        QImage after = grabOf(widget, rect);
        if (!oneColour(before) && !oneColour(after) && after != before)
            return true;
        before = std::move(after);
    }
    return false;
}

QRgb grabPixel(QWidget& widget, const QPoint& point) {
    return grabOf(widget, QRect(point, QSize(1, 1))).pixel(0, 0) | 0xff000000u;
}

bool laterRequestArrived(TWebBrowser& browser, TestHttpServer& server) {
    // A title change goes to the browser process on the page's own channel,
    // after the new windows and navigations it asked for before: once the
    // browser process reports it, it has handled them.
    static int marks = 0;
    const QString mark = QStringLiteral("later %1").arg(++marks);
    evaluate(browser, QStringLiteral("document.title = '%1'; 0").arg(mark));
    if (!QTest::qWaitFor([&] { return browser.page()->title() == mark; }, kLoadTimeoutMs))
        return false;
    const int before = server.requestCount("/later");
    evaluate(browser, QStringLiteral("fetch('/later?n=%1'); 0").arg(before));
    return QTest::qWaitFor([&] { return server.requestCount("/later") > before; }, kLoadTimeoutMs);
}

bool waitForColour(QWidget& widget, const QPoint& point, QRgb colour, int tolerance,
                   int timeoutMs) {
    return QTest::qWaitFor(
        [&] {
            const QRgb shown = grabPixel(widget, point);
            return std::abs(qRed(shown) - qRed(colour)) <= tolerance &&
                   std::abs(qGreen(shown) - qGreen(colour)) <= tolerance &&
                   std::abs(qBlue(shown) - qBlue(colour)) <= tolerance;
        },
        timeoutMs);
}

QList<QWidget*> visibleWindows() {
    QList<QWidget*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible())
            windows.append(widget);
    }
    return windows;
}

bool writeToneMovie(int hz, const QString& file) {
    QProcess php;
    php.setProcessChannelMode(QProcess::ForwardedChannels);
    php.start("php", {QStringLiteral(ZORVIA_SOURCE_DIR "/tests/support/write_movie.php"),
                      QStringLiteral("tone"), QString::number(hz), file});
    if (!php.waitForFinished(30000)) {
        php.kill();
        php.waitForFinished(1000);
        return false;
    }
    return php.exitStatus() == QProcess::NormalExit && php.exitCode() == 0;
}

} // namespace zorvia::test
