#include "skin/controls/skin_box.h"

#include "skin/skin_data.h"

#include <QEvent>
#include <QFrame>
#include <QPainter>

namespace zorvia {

namespace {

void setBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(widget->backgroundRole(), colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// The colour inside the skin's page area: the centre of its pane image.
QColor paneColour(const skin::SkinModel& model) {
    QImage pane;
    if (model.Tabs && model.Tabs->Style == 0)
        pane = model.Tabs->Image2;
    else if (model.TabPane)
        pane = model.TabPane->Image;
    if (pane.isNull())
        return model.qcolour(skin::SlotButtonFace);
    return QColor::fromRgb(pane.pixel(pane.width() / 2, pane.height() / 2));
}

} // namespace

TSkinBox::TSkinBox(QFrame* panel, const TSkinData& data)
    : QObject(panel), panel_(panel), data_(data) {
    setBackground(panel, data.Model().qcolour(skin::SlotButtonFace));
    panel->installEventFilter(this);
    panel->update();
}

bool TSkinBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched != panel_ || event->type() != QEvent::Paint)
        return false;
    if (panel_->frameShape() == QFrame::NoFrame || panel_->frameWidth() == 0)
        return true;
    const skin::SkinModel& model = data_.Model();
    const bool sunken = panel_->frameShadow() == QFrame::Sunken;
    const QColor light = model.qcolour(skin::SlotButtonHilight);
    const QColor dark = model.qcolour(skin::SlotButtonShadow);
    const QRect r = panel_->rect().adjusted(0, 0, -1, -1);
    QPainter p(panel_);
    p.setPen(sunken ? dark : light);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(sunken ? light : dark);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    return true;
}

TSkinTabSheet::TSkinTabSheet(QWidget* sheet, const TSkinData& data) : QObject(sheet) {
    setBackground(sheet, paneColour(data.Model()));
}

} // namespace zorvia
