#pragma once

#include <QStyledItemDelegate>

namespace zorvia::ui {

// Draws the status cell of a download row: a bar filled to the fraction
// (0..1) held under kProgressRole, with the status text over it; the skin's
// progress bar when the list is skinned, else in the palette's highlight
// colour. A cell without a fraction is drawn as text only. A cell marked
// failed (kFailedRole true) shows its text in the failure colour over an
// empty bar (or alone without a fraction), whatever its fraction.
class ProgressDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int kProgressRole = Qt::UserRole + 1;
    static constexpr int kFailedRole = Qt::UserRole + 2;
    // The colour of a failed transfer's text.
    static QColor failureColour() { return {0xC0, 0x00, 0x00}; }
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

} // namespace zorvia::ui
