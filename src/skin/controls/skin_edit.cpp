#include "skin/controls/skin_edit.h"

#include "skin/skin_data.h"
#include "skin/skin_draw.h"

#include <QEvent>
#include <QLineEdit>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace zorvia {

namespace {

constexpr int kStates = 4;
constexpr int kMargin = 3;

} // namespace

QImage TSkinEdit::frameImage(const skin::SkinModel& model) {
    if (!model.SunkEdge || model.SunkEdge->Image.isNull())
        return {};
    const QImage image = model.SunkEdge->Image.convertToFormat(QImage::Format_RGB32);
    const bool combined = model.ComboButton && model.ComboButton->Style == 2;
    if (!combined)
        return image;
    // The combined image carries the button at the left of each state (the
    // edge is mirrored): keep each state's right half, the edge's own left
    // side, and mirror it into a whole frame.
    const int n = std::max(model.SunkEdge->Frame, 1);
    const int w = image.width() / n;
    const int half = w / 2;
    QImage out(image.size(), QImage::Format_RGB32);
    for (int k = 0; k < n; ++k) {
        const QImage cell = image.copy(k * w, 0, w, image.height()).mirrored(true, false);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < w; ++x) {
                const int from = x < half ? x : w - 1 - x;
                out.setPixel(k * w + x, y, cell.pixel(from, y));
            }
    }
    return out;
}

TSkinEdit::TSkinEdit(QLineEdit* edit, TSkinData& data, TWinSkinForm* form)
    : TSkinControl(edit, data, form), edit_(edit), frame_(frameImage(data.Model())),
      savedPalette_(edit->palette()), savedMargins_(edit->textMargins()),
      savedFrame_(edit->hasFrame()), savedHover_(edit->testAttribute(Qt::WA_Hover)) {
    // The edit draws its text only; the skinner fills the field.
    base_ = edit->palette().color(QPalette::Base);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    edit->setPalette(palette);
    edit->setFrame(false);
    edit->setTextMargins(kMargin, 0, kMargin, 0);
    edit->setAttribute(Qt::WA_Hover, true);
}

TSkinEdit::~TSkinEdit() {
    restore();
}

void TSkinEdit::Detach() {
    restore();
    TSkinControl::Detach();
}

void TSkinEdit::restore() {
    if (std::exchange(restored_, true) || !controlAlive())
        return;
    edit_->setPalette(savedPalette_);
    edit_->setFrame(savedFrame_);
    edit_->setTextMargins(savedMargins_);
    edit_->setAttribute(Qt::WA_Hover, savedHover_);
}

void TSkinEdit::ApplyFaceColour() {
    frame_ = frameImage(data().Model());
    TSkinControl::ApplyFaceColour();
}

TSkinEdit::State TSkinEdit::state() const {
    if (!edit_ || !edit_->isEnabled())
        return Disabled;
    if (edit_->hasFocus())
        return Focused;
    return hot_ ? Hot : Normal;
}

bool TSkinEdit::beforeEvent(QEvent* event) {
    if (!TSkinControl::beforeEvent(event))
        return false;
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverLeave:
        hot_ = event->type() == QEvent::HoverEnter;
        edit_->update();
        return true;
    case QEvent::Paint: {
        // The frame goes under the edit's own painting of its text.
        QPainter p(edit_);
        if (const QWidget* parent = edit_->parentWidget())
            p.fillRect(edit_->rect(), parent->palette().color(parent->backgroundRole()));
        p.fillRect(edit_->rect().adjusted(1, 1, -1, -1), base_);
        if (!frame_.isNull())
            skin::DrawSkinImage(p, edit_->rect(), frame_, false, false, true, kStates, state(),
                                {kMargin, kMargin, kMargin, kMargin});
        return true;
    }
    default:
        return true;
    }
}

} // namespace zorvia
