#include "support/modal.h"
#include "text/codepage.h"
#include "ui/kit/error_report.h"
#include "ui/kit/guarded.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace zorvia;

namespace {

TEST(ErrorReport, FullStopRule) {
    struct Case {
        AnsiString message;
        AnsiString shown;
    };
    const Case cases[] = {
        {"", ""},
        {"Host not found", "Host not found."},
        {"Done.", "Done."},
        {"Socket Error # 10061\r\nConnection refused.",
         "Socket Error # 10061\r\nConnection refused."},
        {"ends with a comma,", "ends with a comma,"}, // "," sorts before "."
        {"ends with a slash/", "ends with a slash/."},
        {"ends with a bracket)", "ends with a bracket)"},
        {"SQL: select 1", "SQL: select 1."},
        {text::utf8ToAnsi("数据库错误"), text::utf8ToAnsi("数据库错误") + "."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ui::errorReportText(c.message), c.shown) << c.message;
}

// An object whose event handler fails on the first event and counts the rest.
class Failing : public QObject {
public:
    int handled = 0;
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        if (++handled == 1)
            throw std::runtime_error("Host not found");
        return true;
    }
};

TEST(ErrorReport, EscapingExceptionIsReportedAndProgramRunsOn) {
    ModalCloser closer;
    Failing target;
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    ASSERT_TRUE(QTest::qWaitFor([&] { return target.handled == 2; }, 10000));
    ASSERT_EQ(closer.seen().size(), 1);
    EXPECT_EQ(closer.seen()[0].caption, QStringLiteral("Zorvia游戏盒子"));
    EXPECT_EQ(closer.seen()[0].text, QStringLiteral("Host not found."));
    EXPECT_TRUE(closer.seen()[0].errorIcon);
}

TEST(ErrorReport, GuardedHandlerStopsAtTheFailingStep) {
    ModalCloser closer;
    int steps = 0;
    auto handler = ui::guarded([&] {
        ++steps;
        throw std::runtime_error("");
        ++steps; // never reached
    });
    handler();
    EXPECT_EQ(steps, 1);
    ASSERT_EQ(closer.seen().size(), 1);
    EXPECT_EQ(closer.seen()[0].text, QString()); // an empty message stays empty
}

} // namespace
