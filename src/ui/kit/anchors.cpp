#include "ui/kit/anchors.h"

#include <QEvent>
#include <QWidget>

namespace zorvia::ui {

AnchorKeeper::AnchorKeeper(QWidget* parent) : QObject(parent), parent_(parent) {
    setObjectName("AnchorKeeper");
    parent_->installEventFilter(this);
}

void AnchorKeeper::anchor(QWidget* child, Anchors anchors) {
    Entry entry{child, anchors};
    record(entry);
    entries_.push_back(entry);
    child->installEventFilter(this);
}

void AnchorKeeper::record(Entry& entry) const {
    const QRect g = entry.child->geometry();
    entry.right = parent_->width() - (g.x() + g.width());
    entry.bottom = parent_->height() - (g.y() + g.height());
}

void AnchorKeeper::apply() {
    applying_ = true;
    const int pw = parent_->width();
    const int ph = parent_->height();
    for (auto& e : entries_) {
        if (!e.child)
            continue;
        QRect g = e.child->geometry();
        if (e.anchors.testFlag(Anchor::Right)) {
            if (e.anchors.testFlag(Anchor::Left))
                g.setWidth(std::max(0, pw - e.right - g.x()));
            else
                g.moveLeft(pw - e.right - g.width());
        }
        if (e.anchors.testFlag(Anchor::Bottom)) {
            if (e.anchors.testFlag(Anchor::Top))
                g.setHeight(std::max(0, ph - e.bottom - g.y()));
            else
                g.moveTop(ph - e.bottom - g.height());
        }
        e.child->setGeometry(g);
    }
    applying_ = false;
}

void AnchorKeeper::follow(QWidget* newParent) {
    if (!newParent || newParent == parent_)
        return;
    parent_->removeEventFilter(this);
    parent_ = newParent;
    setParent(newParent);
    parent_->installEventFilter(this);
}

bool AnchorKeeper::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ParentChange && watched != parent_) {
        // The anchored children moved into another parent of the same size
        // (a skinned window's client area, and back): the distances now
        // count from it.
        follow(static_cast<QWidget*>(watched)->parentWidget());
    } else if (watched == parent_ && event->type() == QEvent::Resize) {
        apply();
    } else if (!applying_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        for (auto& e : entries_)
            if (e.child == watched)
                record(e);
    }
    return QObject::eventFilter(watched, event);
}

AnchorKeeper& anchorsOf(QWidget* parent) {
    if (auto* keeper = parent->findChild<AnchorKeeper*>("AnchorKeeper", Qt::FindDirectChildrenOnly))
        return *keeper;
    return *new AnchorKeeper(parent);
}

void setAnchors(QWidget* child, Anchors anchors) {
    anchorsOf(child->parentWidget()).anchor(child, anchors);
}

} // namespace zorvia::ui
