#pragma once

#include "skin/skin_control.h"

#include <QEvent>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QTabWidget>

#include <vector>

class QPainter;
class QTabBar;

namespace zorvia {

namespace ui {
class TPageControl;
}

// The question a skinned page control with close boxes asks its window
// before it closes a page (the engine's private message 0x3507). The window
// sets a non-zero answer to keep the page.
class TSkinCloseTabEvent : public QEvent {
public:
    static constexpr int Message = 0x3507;
    static constexpr QEvent::Type EventType = static_cast<QEvent::Type>(QEvent::User + Message);

    TSkinCloseTabEvent(QWidget* tabControl, int index)
        : QEvent(EventType), tabControl(tabControl), index(index) {}

    QWidget* const tabControl;
    const int index;
    int answer = 0;
};

// Paints a page control (or a tab widget) from the skin: the tab strip from
// "Tabs" (the current tab in state 2, the others in state 1) and the page
// area from the "Border" image of "Tabs" or from "Tab.Pane". A page control
// whose Tag is 7777 gets a close box on each tab. Owned by the control.
class TSkinTab : public TSkinControl {
    Q_OBJECT
public:
    enum class Position {
        Top = QTabWidget::North,
        Bottom = QTabWidget::South,
        Left = QTabWidget::West,
        Right = QTabWidget::East
    };

    static constexpr int CloseTag = 7777;

    TSkinTab(ui::TPageControl* control, TSkinData& data, TWinSkinForm* form = nullptr);
    TSkinTab(QTabWidget* control, TSkinData& data, TWinSkinForm* form = nullptr);

    Position position() const;
    bool closeMode() const;
    // The close box of a tab in tab-strip coordinates (empty without one).
    QRect closeBox(int index) const;
    // The page area and the tab band, in control coordinates.
    QRect paneRect() const;
    QRect bandRect() const;

    // The band with its tabs, as it is copied to the control.
    QImage composeStrip();
    // Re-reads the images after the skin changed.
    void prepareImages();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool paintsControl() const override { return true; }
    void PaintControl(QPainter& painter) override;
    void ApplyFaceColour() override;
    void Refresh() override;

private:
    bool stripEvent(QEvent* event);
    void drawTab(QPainter& p, int index, const QRect& rect);
    void closePage(int index);

    QPointer<QWidget> control_;
    QPointer<QTabBar> bar_;
    ui::TPageControl* pageControl_ = nullptr;
    QTabWidget* tabWidget_ = nullptr;
    QImage tabImage_;  // "Tabs", flipped for tabs at the bottom
    QImage paneImage_; // "Border" or "Tab.Pane", turned to face the tabs
    Position preparedFor_ = Position::Top;
    std::vector<QRect> closeBoxes_;
};

} // namespace zorvia
