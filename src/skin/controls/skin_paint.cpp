#include "skin/controls/skin_paint.h"

#include <QPainter>
#include <QWidget>

namespace zorvia::skin {

QColor systemQColour(const SkinModel& model, int index) {
    return model.System.toQColor(systemColour(index));
}

QColor skinQColour(const SkinModel& model, SkinColour colour) {
    return model.System.toQColor(colour);
}

void paintParentBackground(QPainter& target, const QWidget* widget) {
    QWidget* parent = widget->parentWidget();
    if (!parent)
        return;
    const QRect area = widget->geometry();
    QImage back(area.size(), QImage::Format_RGB32);
    back.fill(parent->palette().color(parent->backgroundRole()));
    parent->render(&back, QPoint(), QRegion(area), QWidget::DrawWindowBackground);
    target.drawImage(0, 0, back);
}

} // namespace zorvia::skin
