#include "ui/kit/page_control.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

#include <algorithm>

namespace zorvia::ui {

TTabSheet::TTabSheet(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
}

void TTabSheet::setCaption(const QString& caption) {
    caption_ = caption;
    emit captionChanged(this);
}

void TTabSheet::setHint(const QString& hint) {
    hint_ = hint;
    emit captionChanged(this);
}

TTabStrip::TTabStrip(QWidget* parent) : QTabBar(parent) {
    setDrawBase(false);
    setExpanding(false);
    setUsesScrollButtons(true);
    setElideMode(Qt::ElideNone);
    setFocusPolicy(Qt::TabFocus);
}

QSize TTabStrip::tabSizeHint(int index) const {
    QSize size = QTabBar::tabSizeHint(index);
    if (tabWidth_ > 0)
        size.setWidth(tabWidth_);
    size.setHeight(TPageControl::kTabHeight - 2);
    return size;
}

TPageControl::TPageControl(QWidget* parent) : QWidget(parent), strip_(new TTabStrip(this)) {
    strip_->setObjectName("TabStrip");
    connect(strip_, &QTabBar::currentChanged, this, [this](int index) {
        if (syncing_ || index < 0)
            return;
        showOnly(index);
        emit changed();
    });
    connect(strip_, &QTabBar::tabBarClicked, this, [this](int index) { emit tabClicked(index); });
}

TPageControl::~TPageControl() {
    setCtrlTabSwitching(false);
}

void TPageControl::setTabsVisible(bool visible) {
    tabsVisible_ = visible;
    strip_->setVisible(visible);
    layoutPages();
    update();
}

void TPageControl::setTabWidth(int width) {
    strip_->setFixedTabWidth(width);
    layoutPages();
}

void TPageControl::addPage(TTabSheet* sheet) {
    sheet->setParent(this);
    pages_.push_back(sheet);
    syncing_ = true;
    strip_->addTab(sheet->caption());
    syncing_ = false;
    connect(sheet, &TTabSheet::captionChanged, this, [this](TTabSheet* s) {
        const int i = indexOf(s);
        if (i >= 0) {
            strip_->setTabText(i, s->caption());
            strip_->setTabToolTip(i, s->hint());
        }
    });
    sheet->setGeometry(pageRect());
    if (active_ < 0)
        showOnly(0);
    else
        sheet->hide();
}

void TPageControl::removePage(TTabSheet* sheet) {
    const int i = indexOf(sheet);
    if (i < 0)
        return;
    disconnect(sheet, nullptr, this, nullptr);
    pages_.erase(pages_.begin() + i);
    syncing_ = true;
    strip_->removeTab(i);
    syncing_ = false;
    sheet->hide();
    if (pages_.empty()) {
        active_ = -1;
        emit activePageChanged();
    } else if (i == active_) {
        // The page after the removed one, or the first when it was the last.
        showOnly(i < pageCount() ? i : 0);
    } else if (i < active_) {
        --active_;
    }
}

void TPageControl::closePage(int index) {
    if (TTabSheet* sheet = page(index)) {
        removePage(sheet);
        sheet->deleteLater();
    }
}

TTabSheet* TPageControl::page(int index) const {
    return index >= 0 && index < pageCount() ? pages_[index] : nullptr;
}

int TPageControl::indexOf(const TTabSheet* sheet) const {
    const auto it = std::find(pages_.begin(), pages_.end(), sheet);
    return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

TTabSheet* TPageControl::activePage() const {
    return page(active_);
}

int TPageControl::activePageIndex() const {
    return active_;
}

void TPageControl::setActivePage(TTabSheet* sheet) {
    setActivePageIndex(indexOf(sheet));
}

void TPageControl::setActivePageIndex(int index) {
    if (index < 0 || index >= pageCount())
        return;
    showOnly(index);
}

void TPageControl::showOnly(int index) {
    active_ = index;
    syncing_ = true;
    strip_->setCurrentIndex(index);
    syncing_ = false;
    for (int i = 0; i < pageCount(); ++i)
        pages_[i]->setVisible(i == index);
    emit activePageChanged();
}

QRect TPageControl::pageRect() const {
    const int top = tabsVisible_ ? kTabHeight : kBorder;
    return QRect(kBorder, top, std::max(0, width() - 2 * kBorder),
                 std::max(0, height() - top - kBorder));
}

void TPageControl::layoutPages() {
    strip_->setGeometry(2, 2, std::max(0, width() - 4), kTabHeight - 2);
    const QRect r = pageRect();
    for (auto* p : pages_)
        p->setGeometry(r);
}

void TPageControl::setCtrlTabSwitching(bool on) {
    if (on == ctrlTab_)
        return;
    ctrlTab_ = on;
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool TPageControl::hasFocusWithin(const QObject* target) const {
    const auto* widget = qobject_cast<const QWidget*>(target);
    if (!widget || widget != QApplication::focusWidget())
        return false;
    return widget == this || isAncestorOf(widget);
}

void TPageControl::focusFirstControl(TTabSheet* sheet) {
    for (QWidget* child : sheet->findChildren<QWidget*>()) {
        if (child->isVisibleTo(sheet) && child->isEnabled() &&
            (child->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) {
            child->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    strip_->setFocus(Qt::TabFocusReason);
}

bool TPageControl::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || pageCount() < 2)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (!(key->modifiers() & Qt::ControlModifier) || (key->modifiers() & Qt::AltModifier))
        return false;
    const bool next = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
    const bool previous = key->key() == Qt::Key_Backtab ||
                          (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier));
    if ((!next && !previous) || !isEnabled() || !hasFocusWithin(watched))
        return false;
    const int count = pageCount();
    const int from = std::max(active_, 0);
    const bool focusOnPage = page(from) && page(from)->isAncestorOf(QApplication::focusWidget());
    showOnly(next ? (from + 1) % count : (from + count - 1) % count);
    // The focus follows into the new page, so that the keys work again there.
    if (focusOnPage)
        focusFirstControl(activePage());
    emit changed();
    return true;
}

void TPageControl::resizeEvent(QResizeEvent*) {
    layoutPages();
}

void TPageControl::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = QRect(0, tabsVisible_ ? kTabHeight - 2 : 0, width(),
                       height() - (tabsVisible_ ? kTabHeight - 2 : 0));
    frame.shape = QTabBar::RoundedNorth;
    frame.lineWidth = 1;
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

} // namespace zorvia::ui
