#include "app/application.h"

#include "ui/kit/error_report.h"
#include "ui/kit/ui_font.h"

namespace zorvia {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(ui::applicationTitle());
    setOrganizationName(QStringLiteral("Zorvia"));
    setQuitOnLastWindowClosed(true);
    setFont(ui::uiFont());
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
