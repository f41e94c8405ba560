#pragma once

#include "text/ansi.h"

#include <string_view>

namespace zorvia::data {

// True for the in-memory database name ":memory:", written in any case.
bool isMemoryDatabase(std::string_view name);

// True when the last part of a file name carries an extension (a "." after
// the last folder separator).
bool hasFileExtension(std::string_view name);

// A database name as stored by the connection: trimmed, and with
// `defaultExt` appended when it has no extension and is not in memory. A
// blank name stays empty, so that connecting reports the missing name.
AnsiString normalizeDatabaseName(std::string_view name, std::string_view defaultExt);

// The folder with a "/" at its end.
AnsiString withTrailingSeparator(std::string_view folder);

// The file the connection opens for `database`: inside `defaultDir` when that
// is set (it must already end in "/"), the name itself when it holds a
// folder separator, else inside `currentFolder`. An in-memory name is kept.
AnsiString databasePath(std::string_view database, std::string_view defaultDir,
                        std::string_view currentFolder);

// True when a library of version `version` takes file names in UTF-8: every
// version after 3.2.5, compared number by number.
bool pathNeedsUtf8(std::string_view version);

} // namespace zorvia::data
