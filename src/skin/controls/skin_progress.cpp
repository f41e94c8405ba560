#include "skin/controls/skin_progress.h"

#include "skin/skin_data.h"
#include "skin/skin_draw.h"

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

void paintProgressBar(QPainter& p, QProgressBar& bar, const TSkinData& data) {
    const SkinModel& model = data.Model();
    const int range = bar.maximum() - bar.minimum();
    const double fraction =
        range > 0 ? static_cast<double>(bar.value() - bar.minimum()) / range : 0.0;
    p.fillRect(bar.rect(), model.qcolour(SlotButtonFace));
    drawProgress(p, bar.rect(), fraction, model);
    if (bar.isTextVisible()) {
        p.setPen(model.qcolour(SlotButtonText));
        p.drawText(bar.rect(), Qt::AlignCenter, bar.text());
    }
}

} // namespace skin

} // namespace zorvia
