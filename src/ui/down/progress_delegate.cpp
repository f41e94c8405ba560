#include "ui/down/progress_delegate.h"

#include "skin/controls/skin_progress.h"
#include "skin/skin_control.h"
#include "skin/skin_data.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>

namespace zorvia::ui {

void ProgressDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const QVariant progress = index.data(kProgressRole);
    const bool failed = index.data(kFailedRole).toBool();
    if (!progress.isValid()) {
        QStyleOptionViewItem cell = option;
        if (failed) {
            cell.palette.setColor(QPalette::Text, failureColour());
            cell.palette.setColor(QPalette::HighlightedText, failureColour());
        }
        QStyledItemDelegate::paint(painter, cell, index);
        return;
    }
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QString text = cell.text;
    cell.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);

    const QRect bar = option.rect.adjusted(2, 2, -2, -2);
    // A failed transfer never looks finished: its bar stays empty.
    const double fraction = failed ? 0.0 : std::clamp(progress.toDouble(), 0.0, 1.0);
    painter->save();
    QRect done;
    QColor doneText, restText;
    if (const TSkinData* skin = skin::skinOf(widget)) {
        // A skinned list shows the skin's progress bar.
        const skin::SkinModel& model = skin->Model();
        skin::drawProgress(*painter, bar, fraction, model);
        done = QRect(bar.left(), bar.top(), static_cast<int>(bar.width() * fraction), bar.height());
        doneText = model.qcolour(skin::SlotHilightText);
        restText = model.qcolour(skin::SlotButtonText);
    } else {
        painter->setPen(option.palette.color(QPalette::Mid));
        painter->setBrush(option.palette.color(QPalette::Base));
        painter->drawRect(bar.adjusted(0, 0, -1, -1));
        const int filled = static_cast<int>((bar.width() - 2) * fraction);
        painter->fillRect(QRect(bar.left() + 1, bar.top() + 1, filled, bar.height() - 2),
                          option.palette.color(QPalette::Highlight));
        done = QRect(bar.left(), bar.top(), filled + 1, bar.height());
        doneText = option.palette.color(QPalette::HighlightedText);
        restText = option.palette.color(QPalette::Text);
    }
    if (failed)
        restText = failureColour();
    // The text in the colour that reads on each part of the bar.
    painter->setClipRect(done);
    painter->setPen(doneText);
    painter->drawText(bar, Qt::AlignCenter, text);
    painter->setClipRect(QRect(done.right() + 1, bar.top(), bar.width(), bar.height()));
    painter->setPen(restText);
    painter->drawText(bar, Qt::AlignCenter, text);
    painter->restore();
}

} // namespace zorvia::ui
