#pragma once

#include "text/ansi.h"

namespace zorvia::platform {

// The folder of the running executable, with a trailing "/".
AnsiString programFolder();

} // namespace zorvia::platform
