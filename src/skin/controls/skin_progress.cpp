#include "skin/controls/skin_progress.h"

#include "skin/skin_data.h"
#include "skin/skin_draw.h"

#include <QEvent>
#include <QPainter>
#include <QProgressBar>

#include <algorithm>

namespace zorvia {

namespace skin {

void drawProgress(QPainter& p, const QRect& rect, double fraction, const SkinModel& model) {
    if (!model.Progress || model.Progress->Image.isNull())
        return;
    const TDataSkinBorder& look = *model.Progress;
    DrawSkinObject(p, rect, look, 1);
    const int filled = static_cast<int>(rect.width() * std::clamp(fraction, 0.0, 1.0));
    if (filled <= 0)
        return;
    const QRect done(rect.left(), rect.top(), filled, rect.height());
    if (look.Frame >= 2)
        DrawSkinObject(p, done, look, 2);
    else if (model.ProgressChunk)
        DrawSkinObject(p, done, *model.ProgressChunk, 1);
}

} // namespace skin

TSkinProgress::TSkinProgress(QProgressBar* bar, TSkinData& data, TWinSkinForm* form)
    : TSkinControl(bar, data, form), bar_(bar) {}

bool TSkinProgress::beforeEvent(QEvent* event) {
    if (!TSkinControl::beforeEvent(event))
        return false;
    if (event->type() != QEvent::Paint)
        return true;
    const skin::SkinModel& model = data().Model();
    const int range = bar_->maximum() - bar_->minimum();
    const double fraction =
        range > 0 ? static_cast<double>(bar_->value() - bar_->minimum()) / range : 0.0;
    QPainter p(bar_);
    p.fillRect(bar_->rect(), model.qcolour(skin::SlotButtonFace));
    skin::drawProgress(p, bar_->rect(), fraction, model);
    if (bar_->isTextVisible()) {
        p.setPen(model.qcolour(skin::SlotButtonText));
        p.drawText(bar_->rect(), Qt::AlignCenter, bar_->text());
    }
    return false;
}

} // namespace zorvia
