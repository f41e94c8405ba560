// The application message filter sees every event of the program. Prints
// the median time per event of the main window's handler for the event
// kinds it looks at (and one it ignores), and the time of delivering an
// event to a widget with the filter installed and without it.
#include "app/application.h"
#include "browser/web_browser.h"
#include "ui/kit/list_box.h"
#include "ui/kit/page_control.h"
#include "ui/main/form1.h"
#include "ui/main/message_filter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kEvents = 200000;
constexpr int kRounds = 9;

// Median nanoseconds per call of body over kRounds rounds of kEvents calls.
double medianNs(const std::function<void()>& body) {
    std::vector<double> rounds;
    for (int r = 0; r < kRounds; ++r) {
        const auto start = Clock::now();
        for (int i = 0; i < kEvents; ++i)
            body();
        const std::chrono::duration<double, std::nano> spent = Clock::now() - start;
        rounds.push_back(spent.count() / kEvents);
    }
    std::nth_element(rounds.begin(), rounds.begin() + kRounds / 2, rounds.end());
    return rounds[kRounds / 2];
}

QMouseEvent mouse(QEvent::Type type, Qt::MouseButton button) {
    return QMouseEvent(type, QPointF(5, 5), QPointF(5, 5), button, button, Qt::NoModifier);
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    zorvia::TApplication app(argc, argv);

    zorvia::TForm1 form;
    for (int i = 0; i < 8; ++i)
        form.CreateNewTab("about:blank#" + std::to_string(i));
    QWidget* page = form.activeBrowser()->inputWidget();
    QWidget* deepList = form.findChild<zorvia::ui::TListBox*>("ListBox1")->viewport();
    QPushButton* button1 = form.findChild<QPushButton*>("Button1");

    struct Case {
        const char* label;
        QObject* target;
        QEvent* event;
    };
    QEvent paint(QEvent::Paint);
    QMouseEvent move = mouse(QEvent::MouseMove, Qt::NoButton);
    QMouseEvent rightInPage = mouse(QEvent::MouseButtonPress, Qt::RightButton);
    QMouseEvent rightOnList = mouse(QEvent::MouseButtonPress, Qt::RightButton);
    QMouseEvent leftDouble = mouse(QEvent::MouseButtonDblClick, Qt::LeftButton);
    QKeyEvent enterInPage(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QKeyEvent enterInEdit(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    const Case cases[] = {
        {"paint (ignored kind)", button1, &paint},
        {"mouse move in the page", page, &move},
        {"right press in the page (dropped)", page, &rightInPage},
        {"right press on a list (passes)", deepList, &rightOnList},
        {"left double click on a button", button1, &leftDouble},
        {"Enter in the page (dropped)", page, &enterInPage},
        {"Enter in the search field (passes)", form.findChild<QLineEdit*>("Edit_key"),
         &enterInEdit},
        {"letter in the page (passes)", page, &letter},
    };

    std::printf("message filter handler, %d tabs, median of %d x %d events\n",
                form.findChild<zorvia::ui::TPageControl*>("PageControl2")->pageCount(), kRounds,
                kEvents);
    for (const Case& c : cases) {
        bool handled = false;
        const double ns = medianNs([&] {
            handled = false;
            form.ApplicationEvents1Message(c.target, c.event, handled);
        });
        std::printf("  %-40s %8.1f ns  %s\n", c.label, ns, handled ? "dropped" : "passes");
    }

    // Delivery of an event the widget ignores, through the application.
    QEvent none(QEvent::None);
    const double with = medianNs([&] { QCoreApplication::sendEvent(button1, &none); });
    form.ApplicationEvents1.reset();
    const double without = medianNs([&] { QCoreApplication::sendEvent(button1, &none); });
    std::printf("event delivery: %.1f ns with the filter, %.1f ns without\n", with, without);
    return 0;
}
