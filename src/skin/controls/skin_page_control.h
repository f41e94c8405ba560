#pragma once

#include <QRect>

class QTabBar;

namespace zorvia {

// What the tab skinner needs of a page control that is not a QTabWidget: the
// program's page control implements it, so that the skin engine knows the
// control without knowing the windows built on it.
class TSkinPageControl {
public:
    virtual ~TSkinPageControl() = default;

    // The tab strip over the pages.
    virtual QTabBar* tabStrip() const = 0;
    // Where the pages sit, in the control's coordinates.
    virtual QRect pageRect() const = 0;
    // Takes the page at `index` out of the control and deletes it.
    virtual void closePage(int index) = 0;

protected:
    TSkinPageControl() = default;
    TSkinPageControl(const TSkinPageControl&) = default;
    TSkinPageControl& operator=(const TSkinPageControl&) = default;
};

} // namespace zorvia
