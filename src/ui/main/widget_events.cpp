#include "ui/main/widget_events.h"

#include <QMouseEvent>
#include <QWidget>

namespace zorvia::ui {

ClickFilter::ClickFilter(QWidget* widget, std::function<void()> onClick)
    : QObject(widget), widget_(widget), onClick_(std::move(onClick)) {
    widget_->installEventFilter(this);
}

bool ClickFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched != widget_)
        return false;
    if (event->type() == QEvent::MouseButtonPress) {
        pressed_ = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool click = pressed_ && mouse->button() == Qt::LeftButton &&
                           widget_->rect().contains(mouse->position().toPoint());
        pressed_ = false;
        if (click && onClick_)
            onClick_();
    }
    return false;
}

FocusInFilter::FocusInFilter(QWidget* widget, std::function<void()> onFocusIn)
    : QObject(widget), widget_(widget), onFocusIn_(std::move(onFocusIn)) {
    widget_->installEventFilter(this);
}

bool FocusInFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget_ && event->type() == QEvent::FocusIn && onFocusIn_)
        onFocusIn_();
    return false;
}

} // namespace zorvia::ui
