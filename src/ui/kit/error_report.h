#pragma once

#include "text/ansi.h"

#include <QString>

#include <exception>

class QWidget;

namespace zorvia::ui {

// The text of the default error report: the message with a full stop
// appended when its last character sorts after "."; empty stays empty.
AnsiString errorReportText(const AnsiString& message);

// The application's default error report: a modal box with the error icon,
// OK, and the application title as caption; it does not wait while a
// transfer runs (showModal).
void reportError(const AnsiString& message);
void reportException(const std::exception& error);

// The title shown by the error report and the taskbar: "Zorvia游戏盒子".
QString applicationTitle();

} // namespace zorvia::ui
