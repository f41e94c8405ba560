// The application message filter: keeps the right mouse button away from
// the browsers, Enter and the arrow keys away from the active tab's page
// unless a Flash movie there has the keyboard focus (a game is played with
// them), and closes the current tab on a double click on the tab strip.
#include "browser/web_browser.h"
#include "ui/kit/page_control.h"
#include "ui/main/form1.h"
#include "ui/main/message_filter.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace zorvia {

void TForm1::ApplicationEvents1Message(QObject* target, QEvent* event, bool& handled) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<const QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            const TWebBrowser* active = activeBrowser();
            if ((active && active->isInside(target)) || WebBrowser3->isInside(target))
                handled = true;
        } else if (mouse->button() == Qt::LeftButton &&
                   event->type() == QEvent::MouseButtonDblClick &&
                   target == PageControl2->tabStrip()) {
            Button_closeTabClick(PageControl2);
        }
        break;
    }
    // The web view reads a key's editing command (caret moves, new line)
    // when the key is offered as a shortcut, and carries it out with the
    // next key press it gets: the offer of a dropped key goes too.
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (!ui::isBlockedPageKey(key->key()))
            break;
        const TWebBrowser* active = activeBrowser();
        if (active && active->isInside(target) && !active->movieHasFocus())
            handled = true;
        break;
    }
    default:
        break;
    }
}

} // namespace zorvia
