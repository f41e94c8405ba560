#pragma once

#include <QWidget>

#include <functional>

class QWebEnginePage;
class QScreen;
class QWebEngineView;

namespace zorvia::browser {

// A window over the whole screen that shows a page in a view of its own
// while the page's usual view waits. Esc, or the window closed, calls
// `onLeave`; the owner then destroys the window and shows the page in its
// usual view again (F11 leaves too). No context menu of the engine's own appears in it.
class FullScreenWindow : public QWidget {
    Q_OBJECT
public:
    // Covers `screen`.
    FullScreenWindow(QWebEnginePage* page, QScreen* screen, std::function<void()> onLeave);
    ~FullScreenWindow() override;

    QWebEngineView* view() const { return view_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void leave();

    QWebEngineView* view_;
    std::function<void()> onLeave_;
};

} // namespace zorvia::browser
