// The active game over the whole screen, on F11 or the status bar's command.
#include "browser/web_browser.h"
#include "ui/kit/guarded.h"
#include "ui/main/form1.h"
#include "ui/main/widget_events.h"

#include <QLabel>
#include <QShortcut>

namespace zorvia {

void TForm1::wireFullScreen() {
    auto* key = new QShortcut(QKeySequence(Qt::Key_F11), this);
    key->setContext(Qt::WindowShortcut);
    connect(key, &QShortcut::activated, this, ui::guarded([this] { ShowGameFullScreen(); }));
    new ui::ClickFilter(Label_fullScreen, ui::guarded([this] { ShowGameFullScreen(); }));
}

void TForm1::ShowGameFullScreen() {
    if (TWebBrowser* browser = activeBrowser())
        browser->showMovieFullScreen();
}

} // namespace zorvia
