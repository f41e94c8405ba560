#include "ui/main/list_mouse_filter.h"

#include "ui/kit/list_box.h"

#include <QMouseEvent>

namespace zorvia::ui {

ListMouseFilter::ListMouseFilter(ui::TListBox* list, ListMouseHandlers handlers)
    : QObject(list), list_(list), handlers_(std::move(handlers)) {
    list_->viewport()->installEventFilter(this);
    if (handlers_.move)
        list_->viewport()->setMouseTracking(true);
}

bool ListMouseFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched != list_->viewport())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint pos = mouse->position().toPoint();
        list_->setFocus(Qt::MouseFocusReason);
        if (handlers_.down)
            handlers_.down(list_, mouse->button(), mouse->modifiers(), pos.x(), pos.y());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint pos = mouse->position().toPoint();
        if (handlers_.up)
            handlers_.up(list_, mouse->button(), mouse->modifiers(), pos.x(), pos.y());
        return true;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint pos = mouse->position().toPoint();
        if (handlers_.move)
            handlers_.move(list_, mouse->modifiers(), pos.x(), pos.y());
        // A drag with a button held would select rows as it goes.
        return mouse->buttons() != Qt::NoButton;
    }
    default:
        return false;
    }
}

} // namespace zorvia::ui
