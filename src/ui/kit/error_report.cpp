#include "ui/kit/error_report.h"

#include "ui/kit/message_box.h"
#include "ui/kit/qtext.h"

#include <QApplication>

namespace zorvia::ui {

AnsiString errorReportText(const AnsiString& message) {
    if (message.empty())
        return message;
    if (static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}

QString applicationTitle() {
    return QStringLiteral("Zorvia游戏盒子");
}

void reportError(const AnsiString& message) {
    showModal(new TMessageBox(QApplication::activeWindow(), toQ(errorReportText(message)),
                              applicationTitle(), TMessageBox::Icon::Error));
}

void reportException(const std::exception& error) {
    reportError(error.what());
}

} // namespace zorvia::ui
