#include "ui/main/page_children.h"

namespace zorvia::ui {

QList<QWidget*> childControls(const QWidget* parent) {
    QList<QWidget*> controls;
    if (!parent)
        return controls;
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && !widget->isWindow())
            controls.append(widget);
    }
    return controls;
}

} // namespace zorvia::ui
