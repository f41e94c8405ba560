#pragma once

#include "text/ansi.h"

namespace zorvia::platform {

// Local paths are ANSI texts in the program and UTF-8 on disk;
// text/file_path.h converts between the two.

// The folder of the running executable, with a trailing "/". The SQLite
// driver always comes from here.
AnsiString programFolder();

// The folder of the game database and the flash folder, with a trailing
// "/": the program folder when it is writable and not installed (a build,
// an unpacked copy), otherwise the user's data folder of the program, for
// root as well.
AnsiString dataFolder();

// Whether a program folder is an installed one: under /usr, or the folder
// that <prefix>/bin/zorvia two levels up leads to (the install's layout,
// <prefix>/lib/zorvia).
bool isInstalledFolder(const AnsiString& executableFolder);

// The choice behind dataFolder(): `executableFolder` when the folder can
// be written and is not installed, `userFolder` otherwise. Both end in "/".
AnsiString chooseDataFolder(const AnsiString& executableFolder, const AnsiString& userFolder);

// True when dataFolder() is the user's data folder rather than the program
// folder: the game database is then created there on first start.
bool dataFolderIsPerUser();

} // namespace zorvia::platform
