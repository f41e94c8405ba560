#pragma once

#include "text/ansi.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace zorvia::text {

// The one conversion between local paths as the game box holds them (ANSI
// texts) and the names on disk (UTF-8). Paths are carried in GB18030, which
// agrees with code page 936 on every character that code page has and
// covers the rest of Unicode, so any name the file system gives comes back
// unchanged. A byte that is not GB18030 but is code page 936 (0x80) is read
// as code page 936; anything else that cannot be read becomes "?".
std::string toFileSystem(std::string_view ansiPath);
AnsiString fromFileSystem(std::string_view fileSystemPath);

// The path to hand to std::filesystem and the system calls.
inline std::filesystem::path fileSystemPath(std::string_view ansiPath) {
    return std::filesystem::path(toFileSystem(ansiPath));
}

} // namespace zorvia::text
