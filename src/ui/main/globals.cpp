#include "ui/main/globals.h"

namespace zorvia {

AnsiString SiteHost;
AnsiString SiteCookie;
int HotKeyId = 0;
TForm1* Form1 = nullptr;
TForm3* Form3 = nullptr;

} // namespace zorvia
