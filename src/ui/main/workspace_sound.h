#pragma once

#include <QObject>

class QWidget;

namespace zorvia {

namespace ui {
class TPageControl;
}

// Who is heard in a window of browsers. Only the page of the active tab of
// `tabs` is heard; browsers that are no tab (the login panel) are heard as
// long as the window shows. While the window is hidden (the boss key, the
// notification area) or minimised nothing is heard and every Flash movie of
// its browsers is paused (and none stays full screen); when it shows again
// the movies paused then play on. Browsers that come and go are taken as they are at each change.
class WorkspaceSound : public QObject {
    Q_OBJECT
public:
    WorkspaceSound(QWidget* window, ui::TPageControl* tabs);

    // Whether the window is out of sight: hidden or minimised.
    bool quiet() const { return quiet_; }
    // Applies the rules to the browsers as they are now.
    void update();

signals:
    // The window is in sight again after it was hidden or minimised.
    void restored();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    ui::TPageControl* tabs_;
    bool quiet_ = false;
};

} // namespace zorvia
