#include "ui/kit/list_box.h"

#include "ui/kit/qtext.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

namespace zorvia::ui {

namespace {

// An item's two texts in one value: the display text's length in four
// bytes, the display text, the link.
constexpr int kTextsRole = Qt::UserRole + 1;

QByteArray packTexts(const AnsiString& display, const AnsiString& link) {
    const auto size = static_cast<std::uint32_t>(display.size());
    QByteArray texts;
    texts.reserve(qsizetype(sizeof size + display.size() + link.size()));
    texts.append(reinterpret_cast<const char*>(&size), sizeof size);
    texts.append(display.data(), qsizetype(display.size()));
    texts.append(link.data(), qsizetype(link.size()));
    return texts;
}

std::pair<std::string_view, std::string_view> unpackTexts(const QByteArray& texts) {
    std::uint32_t size = 0;
    if (texts.size() < qsizetype(sizeof size))
        return {};
    std::memcpy(&size, texts.constData(), sizeof size);
    const std::string_view rest(texts.constData() + sizeof size, texts.size() - sizeof size);
    return {rest.substr(0, size), rest.substr(size)};
}

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
    item->setData(kTextsRole, packTexts(display, link));
    QListWidget::addItem(item);
}

AnsiString TListBox::displayText(int index) const {
    const auto* it = item(index);
    return it ? AnsiString(unpackTexts(it->data(kTextsRole).toByteArray()).first) : AnsiString();
}

AnsiString TListBox::link(int index) const {
    const auto* it = item(index);
    return it ? AnsiString(unpackTexts(it->data(kTextsRole).toByteArray()).second) : AnsiString();
}

int TListBox::itemAtPos(const QPoint& pos) const {
    const auto* it = itemAt(pos);
    return it ? row(it) : -1;
}

} // namespace zorvia::ui
