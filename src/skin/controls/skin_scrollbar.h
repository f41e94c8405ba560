#pragma once

#include "skin/skin_control.h"

#include <QPointer>
#include <QRect>

#include <array>
#include <memory>

class QAbstractScrollArea;
class QPainter;
class QScrollBar;
class QStyle;

namespace zorvia {

// Paints the scroll bars of a scrollable control from the skin ("Scrollbar"
// arrows and grips, the "HorzScroll"/"VertScroll" tracks and the thumbs)
// while the control's own scroll bars keep doing the scrolling, and draws a
// two-pixel border round the control. Owned by the control.
class TSkinScrollbar : public TSkinControl {
    Q_OBJECT
public:
    // Parts of a bar, numbered as the scroll codes.
    enum Part {
        NoPart = -1,
        FirstArrow = 0,
        SecondArrow = 1,
        TrackBefore = 2,
        TrackAfter = 3,
        Thumb = 5,
    };

    TSkinScrollbar(QAbstractScrollArea* control, TSkinData& data, TWinSkinForm* form = nullptr);
    ~TSkinScrollbar() override;

    // Gives the control its frame and its bars their style and mouse
    // tracking back.
    void Detach() override;

    bool hasBorder() const { return border_; }
    Part hotPart(Qt::Orientation orientation) const;
    bool pressed(Qt::Orientation orientation) const;
    // Where a part of a bar lies, in the bar's coordinates.
    static QRect partRect(const QScrollBar* bar, Part part);
    static Part partAt(const QScrollBar* bar, QPoint at);

    // Paints a bar into `target` at the origin.
    void paintBar(QPainter& target, const QScrollBar* bar);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool paintsControl() const override { return true; }
    void PaintControl(QPainter& painter) override;
    void ApplyFaceColour() override;
    void Refresh() override;

private:
    struct BarState {
        QPointer<QScrollBar> bar;
        Part hot = NoPart;
        bool pressed = false;
        bool savedTracking = false;
    };
    // Makes the bars as thick as the skin's arrow images.
    void applyBarStyle();
    void restore();
    BarState* stateOf(const QObject* bar);
    const BarState* stateOf(const QObject* bar) const;
    void setHot(BarState& state, Part part);
    bool barEvent(BarState& state, QEvent* event);

    QPointer<QAbstractScrollArea> control_;
    std::array<BarState, 2> bars_; // horizontal, vertical
    std::unique_ptr<QStyle> barStyle_;
    bool border_ = false;
    bool restored_ = false;
    int savedFrameStyle_ = 0;
    int savedLineWidth_ = 0;
    int savedMidLineWidth_ = 0;
};

} // namespace zorvia
