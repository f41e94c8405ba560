#include "browser/client_align.h"

#include <QEvent>

namespace zorvia::browser {

ClientAlign::ClientAlign(QWidget* widget) : QObject(widget), widget_(widget) {
    widget_->installEventFilter(this);
    watchParent();
    apply();
}

void ClientAlign::apply() {
    if (parent_)
        widget_->setGeometry(parent_->contentsRect());
}

void ClientAlign::watchParent() {
    if (parent_ == widget_->parentWidget())
        return;
    if (parent_)
        parent_->removeEventFilter(this);
    parent_ = widget_->parentWidget();
    if (parent_)
        parent_->installEventFilter(this);
}

bool ClientAlign::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget_) {
        if (event->type() == QEvent::ParentChange)
            watchParent();
        // A size or place given while aligned is taken back at once.
        if (event->type() == QEvent::ParentChange || event->type() == QEvent::Resize ||
            event->type() == QEvent::Move || event->type() == QEvent::Show) {
            if (parent_ && widget_->geometry() != parent_->contentsRect())
                apply();
        }
    } else if (watched == parent_ &&
               (event->type() == QEvent::Resize || event->type() == QEvent::ContentsRectChange)) {
        apply();
    }
    return false;
}

} // namespace zorvia::browser
