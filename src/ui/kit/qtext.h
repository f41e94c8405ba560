#pragma once

#include "text/ansi.h"

#include <QString>

namespace zorvia::ui {

// Code page 936 text to and from what widgets show.
QString toQ(const AnsiString& ansi);
AnsiString fromQ(const QString& text);
// A local path text (text/file_path.h) as the file system names it.
QString pathToQ(const AnsiString& path);

} // namespace zorvia::ui
