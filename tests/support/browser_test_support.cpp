#include "support/browser_test_support.h"

#include "browser/web_profile.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWidget>

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

QVariant evaluate(TWebBrowser& browser, const QString& script) {
    struct Outcome {
        QVariant value;
        bool done = false;
    };
    auto outcome = std::make_shared<Outcome>();
    browser.page()->runJavaScript(script, [outcome](const QVariant& value) {
        outcome->value = value;
        outcome->done = true;
    });
    (void)QTest::qWaitFor([&] { return outcome->done; }, kLoadTimeoutMs);
    return outcome->value;
}

void spin(int ms) {
    QTest::qWait(ms);
}

QList<QWidget*> visibleWindows() {
    QList<QWidget*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible())
            windows.append(widget);
    }
    return windows;
}

} // namespace zorvia::test
