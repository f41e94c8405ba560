#include "skin/controls/skin_box.h"

#include "skin/skin_data.h"

#include <QFrame>
#include <QPainter>

#include <utility>

namespace zorvia {

namespace {

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

void skin::paintBox(QPainter& p, QFrame& panel, const TSkinData& data) {
    if (panel.frameShape() == QFrame::NoFrame || panel.frameWidth() == 0)
        return;
    const skin::SkinModel& model = data.Model();
    const bool sunken = panel.frameShadow() == QFrame::Sunken;
    const QColor light = model.qcolour(skin::SlotButtonHilight);
    const QColor dark = model.qcolour(skin::SlotButtonShadow);
    const QRect r = panel.rect().adjusted(0, 0, -1, -1);
    p.setPen(sunken ? dark : light);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(sunken ? light : dark);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

TSkinTabSheet::TSkinTabSheet(QWidget* sheet, TSkinData& data, TWinSkinForm* form)
    : TSkinControl(sheet, data, form), savedPalette_(sheet->palette()),
      savedAutoFill_(sheet->autoFillBackground()) {
    paintPane();
}

TSkinTabSheet::~TSkinTabSheet() {
    restore();
}

void TSkinTabSheet::Detach() {
    restore();
    TSkinControl::Detach();
}

void TSkinTabSheet::paintPane() {
    QWidget* sheet = control();
    if (!sheet || restored_)
        return;
    QPalette palette = sheet->palette();
    palette.setColor(sheet->backgroundRole(), paneColour(data().Model()));
    sheet->setPalette(palette);
    sheet->setAutoFillBackground(true);
}

void TSkinTabSheet::restore() {
    if (std::exchange(restored_, true) || !controlAlive())
        return;
    control()->setPalette(savedPalette_);
    control()->setAutoFillBackground(savedAutoFill_);
}

void TSkinTabSheet::ApplyFaceColour() {
    paintPane();
    TSkinControl::ApplyFaceColour();
}

} // namespace zorvia
