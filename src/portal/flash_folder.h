#pragma once

#include "text/ansi.h"

#include <functional>
#include <memory>

namespace zorvia {

class TFileStream;

namespace portal {

// Whether a game's file name, the text after the last "/" of its address,
// can name a file of the flash folder: not empty, not "." or "..", at most
// 255 bytes on disk, no control character, no "\" or "/" character (code
// page 936 characters, not bytes) and not the name of a file cut short by a
// download.
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
    // Removes what downloads that were cut short (the program killed) left:
    // files and symbolic links with a temporary name.
    void removeLeftovers() const;

private:
    AnsiString folder_;
};

// A game file being received: written under a temporary name in the flash
// folder (a new file: an entry already there under that name, a symbolic
// link included, is never opened), removed unless `commit` gives it its
// name.
class PartialGameFile {
public:
    PartialGameFile(const FlashFolder& folder, const AnsiString& name);
    ~PartialGameFile();
    PartialGameFile(const PartialGameFile&) = delete;
    PartialGameFile& operator=(const PartialGameFile&) = delete;

    // Called every sliceMs while a wait for the disk runs; returning false
    // stops calling it (the wait itself goes on to its end).
    using Idle = std::function<bool()>;

    TFileStream& stream() { return *stream_; }
    // Puts the file on the disk, closes it and renames it to the game's
    // name, replacing a file of that name, then puts the rename on the disk.
    // The waits for the disk run on a thread of their own while `idle` is
    // called every sliceMs. Raises EStreamError when the file cannot be put
    // on the disk, EFCreateError when the rename fails. False when `idle`
    // gave up: during the file's wait the file is dropped as if the commit
    // had not run; during the rename's wait it keeps its name.
    bool commit(const Idle& idle = {}, int sliceMs = 10);

private:
    AnsiString folder_;
    AnsiString temporary_;
    AnsiString final_;
    std::unique_ptr<TFileStream> stream_;
};

} // namespace portal
} // namespace zorvia
