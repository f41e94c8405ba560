#include "ui/kit/list_box.h"

#include "ui/kit/qtext.h"

namespace zorvia::ui {

namespace {
constexpr int kLinkRole = Qt::UserRole + 1;
constexpr int kDisplayRole = Qt::UserRole + 2;
} // namespace

TListBox::TListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    setFrameShape(QFrame::StyledPanel);
}

void TListBox::addItem(const AnsiString& display, const AnsiString& link) {
    // The item gets its texts before it joins the list: an item that knows
    // its list but is not in it yet is searched for among all the rows on
    // each change, which made filling a long list cost the square of its
    // length.
    auto* item = new QListWidgetItem(toQ(display));
    item->setData(kLinkRole, QByteArray::fromStdString(link));
    item->setData(kDisplayRole, QByteArray::fromStdString(display));
    QListWidget::addItem(item);
}

AnsiString TListBox::displayText(int index) const {
    const auto* it = item(index);
    return it ? it->data(kDisplayRole).toByteArray().toStdString() : AnsiString();
}

AnsiString TListBox::link(int index) const {
    const auto* it = item(index);
    return it ? it->data(kLinkRole).toByteArray().toStdString() : AnsiString();
}

int TListBox::itemAtPos(const QPoint& pos) const {
    const auto* it = itemAt(pos);
    return it ? row(it) : -1;
}

} // namespace zorvia::ui
