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
    auto* item = new QListWidgetItem(toQ(display), this);
    item->setData(kLinkRole, QByteArray::fromStdString(link));
    item->setData(kDisplayRole, QByteArray::fromStdString(display));
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
