#pragma once

#include "skin/controls/skin_page_control.h"

#include <QTabBar>
#include <QWidget>

#include <vector>

namespace zorvia::ui {

// One page of a TPageControl: its caption is the tab's text.
class TTabSheet : public QWidget {
    Q_OBJECT
public:
    explicit TTabSheet(QWidget* parent = nullptr);

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    // The tab's tooltip: the whole text a shortened caption stands for.
    QString hint() const { return hint_; }
    void setHint(const QString& hint);

signals:
    void captionChanged(TTabSheet* sheet);

private:
    QString caption_;
    QString hint_;
};

// Tab strip of a page control: fixed tab width when one is set.
class TTabStrip : public QTabBar {
    Q_OBJECT
public:
    explicit TTabStrip(QWidget* parent);
    void setFixedTabWidth(int width) { tabWidth_ = width; }

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }

private:
    int tabWidth_ = 0;
};

// A page control: a tab strip over a stack of pages, with the pages placed
// at the exact client rectangle (4 pixels in from the sides and bottom, under
// the tab strip). With the tabs hidden the pages sit 4 pixels in all round.
class TPageControl : public QWidget, public TSkinPageControl {
    Q_OBJECT
public:
    static constexpr int kTabHeight = 24;
    static constexpr int kBorder = 4;

    explicit TPageControl(QWidget* parent);
    ~TPageControl() override;

    void setTabsVisible(bool visible);
    bool tabsVisible() const { return tabsVisible_; }
    void setTabWidth(int width);

    void addPage(TTabSheet* sheet);
    // Removes a page without deleting it.
    void removePage(TTabSheet* sheet);
    // Removes the page at `index` and deletes it once its events are done.
    void closePage(int index) override;
    int pageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* page(int index) const;
    int indexOf(const TTabSheet* sheet) const;

    TTabSheet* activePage() const;
    int activePageIndex() const;
    // Changes the active page without raising the change event.
    void setActivePage(TTabSheet* sheet);
    void setActivePageIndex(int index);

    TTabStrip* tabStrip() const override { return strip_; }
    QRect pageRect() const override;

    // Whether Ctrl+Tab and Ctrl+Shift+Tab select the next and previous page
    // (wrapping round) while the focus is in the control or on its pages.
    void setCtrlTabSwitching(bool on);

signals:
    // The tab strip was clicked at a tab.
    void tabClicked(int index);
    // The user selected another page: on the tab strip (mouse or keys), or
    // with Ctrl+Tab / Ctrl+Shift+Tab. Changes made by the program through
    // setActivePage, addPage or removePage raise nothing.
    void changed();
    // The active page changed, whoever changed it (the user or the
    // program), or the last page went.
    void activePageChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void layoutPages();
    void showOnly(int index);
    bool hasFocusWithin(const QObject* target) const;
    void focusFirstControl(TTabSheet* sheet);

    TTabStrip* strip_;
    std::vector<TTabSheet*> pages_;
    int active_ = -1;
    bool tabsVisible_ = true;
    bool syncing_ = false;
    bool ctrlTab_ = false;
};

} // namespace zorvia::ui
