#pragma once

#include <QStyledItemDelegate>

namespace zorvia::ui {

// Draws the status cell of a download row: a bar filled to the fraction
// (0..1) held under kProgressRole, with the status text over it; the skin's
// progress bar when the list is skinned, else in the palette's highlight
// colour. A cell without a fraction is drawn as text only.
class ProgressDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int kProgressRole = Qt::UserRole + 1;
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

} // namespace zorvia::ui
