#pragma once

#include "text/ansi.h"

namespace zorvia::platform {

// Local paths are ANSI texts in the program and UTF-8 on disk;
// text/file_path.h converts between the two.

// The folder of the running executable, with a trailing "/". The SQLite
// driver always comes from here.
AnsiString programFolder();

// The folder of the game database and the flash folder, with a trailing
// "/": the program folder when it is writable (a build, an unpacked copy),
// otherwise (an installed game box) the user's data folder of the program.
AnsiString dataFolder();

// The choice behind dataFolder(): `executableFolder` when the folder can
// be written, `userFolder` otherwise. Both end in "/".
AnsiString chooseDataFolder(const AnsiString& executableFolder, const AnsiString& userFolder);

// True when dataFolder() is the user's data folder rather than the program
// folder: the game database is then created there on first start.
bool dataFolderIsPerUser();

} // namespace zorvia::platform
