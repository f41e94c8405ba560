#include "skin/controls/skin_header.h"

#include "skin/skin_data.h"
#include "skin/skin_draw.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>

namespace zorvia {

namespace {
constexpr int kTextPadding = 6;
}

TSkinHeader::TSkinHeader(QHeaderView* header, TSkinData& data, TWinSkinForm* form)
    : TSkinControl(header, data, form), header_(header) {
    header->setMouseTracking(true);
    header->viewport()->setAttribute(Qt::WA_Hover, true);
    header->viewport()->installEventFilter(this);
    header->viewport()->update();
}

void TSkinHeader::paint(QPainter& p) {
    const skin::SkinModel& model = data().Model();
    QWidget* view = header_->viewport();
    p.fillRect(view->rect(), model.qcolour(skin::SlotButtonFace));
    const TDataSkinObject* look = model.Headerbar ? &*model.Headerbar : nullptr;
    const bool horizontal = header_->orientation() == Qt::Horizontal;
    const QColor text = header_->isEnabled()
                            ? model.qcolour(skin::SlotButtonText)
                            : model.System.toQColor(skin::systemColour(skin::COLOR_BTNSHADOW));
    p.setFont(header_->font());
    int end = 0;
    for (int visual = 0; visual < header_->count(); ++visual) {
        const int logical = header_->logicalIndex(visual);
        if (header_->isSectionHidden(logical))
            continue;
        const int at = header_->sectionViewportPosition(logical);
        const int size = header_->sectionSize(logical);
        const QRect r =
            horizontal ? QRect(at, 0, size, view->height()) : QRect(0, at, view->width(), size);
        end = std::max(end, at + size);
        const int state = logical == pressed_ ? Pressed : logical == hot_ ? Hot : Normal;
        if (look)
            skin::DrawSkinObject(p, r, *look, std::min(state, std::max(look->Frame, 1)));
        p.setPen(text);
        const QString caption =
            header_->model()
                ? header_->model()->headerData(logical, header_->orientation()).toString()
                : QString();
        const QRect inner = r.adjusted(kTextPadding, 0, -kTextPadding, 0);
        p.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter,
                   p.fontMetrics().elidedText(caption, Qt::ElideRight, inner.width()));
    }
    // The header runs on to the edge as one empty section.
    const int length = horizontal ? view->width() : view->height();
    if (look && end < length)
        skin::DrawSkinObject(p,
                             horizontal ? QRect(end, 0, length - end, view->height())
                                        : QRect(0, end, view->width(), length - end),
                             *look, Normal);
}

bool TSkinHeader::eventFilter(QObject* watched, QEvent* event) {
    if (header_ && watched == header_->viewport())
        return enabled() && attached() && viewportEvent(event);
    return TSkinControl::eventFilter(watched, event);
}

bool TSkinHeader::viewportEvent(QEvent* event) {
    auto sectionUnder = [this](const QPointF& pos) {
        return header_->logicalIndexAt(pos.toPoint());
    };
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter p(header_->viewport());
        paint(p);
        return true;
    }
    case QEvent::HoverMove:
    case QEvent::HoverEnter: {
        const int hot = sectionUnder(static_cast<QHoverEvent*>(event)->position());
        if (hot != hot_) {
            hot_ = hot;
            header_->viewport()->update();
        }
        return false;
    }
    case QEvent::HoverLeave:
        hot_ = -1;
        header_->viewport()->update();
        return false;
    case QEvent::MouseButtonPress:
        if (header_->sectionsClickable())
            pressed_ = sectionUnder(static_cast<QMouseEvent*>(event)->position());
        header_->viewport()->update();
        return false;
    case QEvent::MouseButtonRelease:
        pressed_ = -1;
        header_->viewport()->update();
        return false;
    default:
        return false;
    }
}

} // namespace zorvia
