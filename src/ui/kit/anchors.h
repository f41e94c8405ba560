#pragma once

#include <QFlags>
#include <QObject>
#include <QPointer>
#include <QSize>

#include <vector>

class QWidget;

namespace zorvia::ui {

enum class Anchor { Left = 1, Top = 2, Right = 4, Bottom = 8 };
Q_DECLARE_FLAGS(Anchors, Anchor)

// Keeps anchored children at their distances to the parent's edges when the
// parent is resized. A child anchored left and right stretches; anchored
// right only, it moves. When the program moves or resizes a child itself,
// its distances are taken anew from where it now stands. When the children
// move into another parent, the keeper moves with them.
class AnchorKeeper : public QObject {
    Q_OBJECT
public:
    explicit AnchorKeeper(QWidget* parent);

    void anchor(QWidget* child, Anchors anchors);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QPointer<QWidget> child;
        Anchors anchors;
        int right = 0;  // parent width - child right edge
        int bottom = 0; // parent height - child bottom edge
    };
    void record(Entry& entry) const;
    void follow(QWidget* newParent);
    void apply();

    QWidget* parent_;
    std::vector<Entry> entries_;
    bool applying_ = false;
};

// The anchor keeper of `parent`, made on first use.
AnchorKeeper& anchorsOf(QWidget* parent);

// Anchors `child` within its parent.
void setAnchors(QWidget* child, Anchors anchors);

} // namespace zorvia::ui

Q_DECLARE_OPERATORS_FOR_FLAGS(zorvia::ui::Anchors)
