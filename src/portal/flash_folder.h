#pragma once

#include "text/ansi.h"

#include <memory>

namespace zorvia {

class TFileStream;

namespace portal {

// Whether a game's file name, the text after the last "/" of its address,
// can name a file of the flash folder: not empty, not "." or "..", at most
// 255 bytes on disk, no control character, no "\" and not the name of a
// file cut short by a download.
bool isGameFileName(const AnsiString& name);

// The game files of the program: folder + name for every game.
class FlashFolder {
public:
    explicit FlashFolder(AnsiString folder); // without a trailing "/"
    const AnsiString& path() const { return folder_; }
    AnsiString fileOf(const AnsiString& name) const { return folder_ + "/" + name; }

    // Creates the folder (one level) when it is missing; failures surface
    // when a file is created in it.
    void ensureExists() const;
    // Removes what downloads that were cut short (the program killed) left.
    void removeLeftovers() const;

private:
    AnsiString folder_;
};

// A game file being received: written under a temporary name in the flash
// folder, removed unless `commit` gives it its name.
class PartialGameFile {
public:
    PartialGameFile(const FlashFolder& folder, const AnsiString& name);
    ~PartialGameFile();
    PartialGameFile(const PartialGameFile&) = delete;
    PartialGameFile& operator=(const PartialGameFile&) = delete;

    TFileStream& stream() { return *stream_; }
    // Closes the file and renames it to the game's name, replacing a file
    // of that name. Raises EFCreateError when the rename fails.
    void commit();

private:
    AnsiString temporary_;
    AnsiString final_;
    std::unique_ptr<TFileStream> stream_;
};

} // namespace portal
} // namespace zorvia
