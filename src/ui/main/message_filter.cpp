#include "ui/main/message_filter.h"

#include "ui/kit/error_report.h"

#include <QCoreApplication>

#include <exception>

namespace zorvia::ui {

TApplicationEvents::TApplicationEvents() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

TApplicationEvents::~TApplicationEvents() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool TApplicationEvents::eventFilter(QObject* watched, QEvent* event) {
    if (!OnMessage)
        return false;
    bool handled = false;
    try {
        OnMessage(watched, event, handled);
    } catch (const std::exception& error) {
        reportException(error);
    }
    return handled;
}

bool isBlockedPageKey(int key) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

} // namespace zorvia::ui
