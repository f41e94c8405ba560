#include "browser/full_screen_window.h"

#include "skin/skin_events.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace zorvia::browser {

FullScreenWindow::FullScreenWindow(QWebEnginePage* page, QScreen* screen,
                                   std::function<void()> onLeave)
    : QWidget(nullptr), view_(new QWebEngineView(this)), onLeave_(std::move(onLeave)) {
    setObjectName(QStringLiteral("FullScreenWindow"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    // No skin frame: the window is the screen, nothing else (tag 99 keeps
    // the skin off).
    setProperty(skin::TagProperty, 99);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    view_->setPage(page);
    // Esc reaches the page's input widget first; it is taken there.
    qApp->installEventFilter(this);
    // Without a window manager the state alone moves nothing.
    if (screen)
        setGeometry(screen->geometry());
    showFullScreen();
    activateWindow();
    view_->setFocus(Qt::OtherFocusReason);
}

FullScreenWindow::~FullScreenWindow() {
    qApp->removeEventFilter(this);
}

void FullScreenWindow::leave() {
    // Not from inside an event of this window: the owner may destroy it.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (onLeave_)
                onLeave_();
        },
        Qt::QueuedConnection);
}

bool FullScreenWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* widget = qobject_cast<QWidget*>(watched);
        if ((key == Qt::Key_Escape || key == Qt::Key_F11) && widget && widget->window() == this) {
            leave();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FullScreenWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    leave();
}

} // namespace zorvia::browser
