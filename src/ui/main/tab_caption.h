#pragma once

#include <QString>

namespace zorvia::ui {

// The caption a tab shows for a page title. Titles of up to 14 bytes in
// code page 936 are shown whole; longer ones are cut to their first 11
// characters followed by "...", or to 10 when byte 11 is the second half of
// a double-byte character. The result is what the code page can show.
QString tabCaption(const QString& title);

} // namespace zorvia::ui
