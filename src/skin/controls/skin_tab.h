#pragma once

#include "skin/skin_control.h"

#include <QEvent>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QTabWidget>

#include <optional>
#include <vector>

class QPainter;
class QTabBar;
class QToolButton;

namespace zorvia {

class TSkinPageControl;

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
// "Tabs" (the current tab in state 2, the others in state 1), its scroll
// buttons from the arrows of "Scrollbar", and the page area from the
// "Border" image of "Tabs" or from "Tab.Pane". A skin without a "Tabs" image
// leaves the strip to the control. A page control whose Tag is 7777 gets a
// close box on each tab. Owned by the control.
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

    // `control` is a QTabWidget or implements TSkinPageControl (canSkin).
    TSkinTab(QWidget* control, TSkinData& data, TWinSkinForm* form = nullptr);
    static bool canSkin(QWidget* control);

    Position position() const;
    bool closeMode() const;
    // The close box of a tab as the strip shows it now, in tab-strip
    // coordinates (empty without one).
    QRect closeBox(int index) const;
    // The page area and the tab band, in control coordinates.
    QRect paneRect() const;
    QRect bandRect() const;

    // The band with its tabs, as it is copied to the control.
    QImage composeStrip();
    // Re-reads the images after the skin changed.
    void prepareImages();
    // The state image of "Scrollbar" a scroll button of the strip shows.
    static int scrollButtonImage(const QToolButton* button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Without a tab or pane image the control paints itself.
    bool paintsControl() const override { return !tabImage_.isNull() || !paneImage_.isNull(); }
    void PaintControl(QPainter& painter) override;
    void ApplyFaceColour() override;
    void Refresh() override;

private:
    bool stripEvent(QEvent* event);
    bool scrollButtonEvent(QToolButton* button, QEvent* event);
    void drawTab(QPainter& p, int index, const QRect& rect);
    void closePage(int index);
    int closeBoxAt(QPoint at) const;

    QPointer<QWidget> control_;
    QPointer<QTabBar> bar_;
    TSkinPageControl* pageControl_ = nullptr;
    QTabWidget* tabWidget_ = nullptr;
    QImage tabImage_;  // "Tabs", flipped for tabs at the bottom
    QImage paneImage_; // "Border" or "Tab.Pane", turned to face the tabs
    Position preparedFor_ = Position::Top;
    std::vector<QPointer<QToolButton>> scrollButtons_;
    // The press that last closed a tab.
    struct LastClose {
        quint64 time;
        QPoint at;
    };
    std::optional<LastClose> lastClose_;
};

} // namespace zorvia
