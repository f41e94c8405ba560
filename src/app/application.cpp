#include "app/application.h"

#include "app/chinese_texts.h"
#include "platform/start_up_trace.h"
#include "player/flash_player.h"
#include "skin/skin_message.h"
#include "ui/kit/app_icon.h"
#include "ui/kit/error_report.h"
#include "ui/kit/message_box.h"
#include "ui/kit/ui_font.h"

namespace zorvia {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // Before any web engine profile exists.
    player::registerFlashPlayerSchemes();
    setApplicationName(ui::applicationTitle());
    setOrganizationName(QStringLiteral("Zorvia"));
    // The main window ends the program itself (exit from its close dialog or
    // the tray menu); hiding it to the tray must not end it.
    setQuitOnLastWindowClosed(false);
    setFont(ui::uiFont());
    // Every window without an icon of its own, and the skin's caption icon,
    // show the game box's icon.
    setWindowIcon(ui::appIcon());
    platform::startUpPhase("application object");
    installChineseTexts(*this);
    platform::startUpPhase("translations");
    // The skin engine's plain messages appear in the program's message box.
    skin::setMessageHandler(
        [](const AnsiString& text) { ui::showMessage(QApplication::activeWindow(), text); });
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ui::reportException(error);
    }
    return false;
}

} // namespace zorvia
