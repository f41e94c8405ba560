#pragma once

#include "text/ansi.h"

namespace zorvia {

class TForm1;
class TForm3;

// Process-wide state of the main window's unit.
extern AnsiString SiteHost;   // the portal host, set once at start-up
extern AnsiString SiteCookie; // last cookie read for the portal
extern int HotKeyId;          // identifier of the registered boss key
extern TForm1* Form1;         // the one main window
extern TForm3* Form3;         // the dialog of the last close request

} // namespace zorvia
