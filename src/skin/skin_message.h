#pragma once

#include "text/ansi.h"

#include <functional>

namespace zorvia::skin {

// Where the skin engine shows its plain messages (for example an unknown
// skin container version). The user interface plugs in its message box; until
// then messages go to standard error.
using MessageHandler = std::function<void(const AnsiString& text)>;

// Installs `handler` (an empty one restores the standard-error default) and
// returns the handler it replaces.
MessageHandler setMessageHandler(MessageHandler handler);

// Shows `text` through the installed handler.
void showMessage(const AnsiString& text);

} // namespace zorvia::skin
