#pragma once

#include "text/ansi.h"

#include <QListWidget>

namespace zorvia::ui {

// A list box whose items carry a display text and a link text (a portal
// address or a local file path), both in code page 936.
class TListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TListBox(QWidget* parent);

    void addItem(const AnsiString& display, const AnsiString& link);
    int count() const { return QListWidget::count(); }
    AnsiString displayText(int index) const;
    AnsiString link(int index) const;
    int itemIndex() const { return currentRow(); }
    // Index of the item under a point of the list's client area, or -1.
    int itemAtPos(const QPoint& pos) const;
};

} // namespace zorvia::ui
