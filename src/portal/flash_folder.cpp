#include "portal/flash_folder.h"

#include "net/stream.h"
#include "portal/request_head.h"
#include "text/dbcs.h"
#include "text/file_path.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <future>
#include <string>
#include <system_error>

namespace zorvia::portal {

namespace {

// Files cut short by a download start with this; no game is named so.
constexpr std::string_view kPartialPrefix = ".zorvia-part-";
constexpr std::size_t kMaxNameBytes = 255;
// Names tried before a temporary file is given up.
constexpr int kTemporaryAttempts = 100;

AnsiString temporaryName() {
    static std::atomic<unsigned> next{0};
    return AnsiString(kPartialPrefix) + std::to_string(::getpid()) + "-" + std::to_string(next++);
}

// A new file under a temporary name of the folder. A name that is taken,
// by a file or by a symbolic link, is never opened: the next one is tried.
std::unique_ptr<TFileStream> createTemporary(const FlashFolder& folder, AnsiString& path) {
    for (int attempt = 1;; ++attempt) {
        path = folder.fileOf(temporaryName());
        try {
            return std::make_unique<TFileStream>(path, TFileStream::Mode::CreateNew);
        } catch (const EFCreateError& error) {
            if (error.code() != EEXIST || attempt == kTemporaryAttempts)
                throw;
        }
    }
}

// Puts a folder's entries (a rename in it) on the disk; a folder that
// cannot be opened for this is left as it is.
void syncFolder(const AnsiString& folder) {
    const int fd = ::open(text::toFileSystem(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// Runs `work` on a thread of its own and waits for it, calling `idle`
// every sliceMs until it returns false. Rethrows what `work` raised. True
// when `idle` never gave up.
bool waitFor(const std::function<void()>& work, const PartialGameFile::Idle& idle, int sliceMs) {
    if (!idle) {
        work();
        return true;
    }
    std::future<void> done = std::async(std::launch::async, work);
    bool caller = true;
    while (done.wait_for(std::chrono::milliseconds(caller ? sliceMs : 1000)) !=
           std::future_status::ready)
        caller = caller && idle();
    done.get();
    return caller;
}

// Whether `text`, read as code page 936 characters, holds the ASCII
// character c: the second byte of a double-byte character may be 0x5C and
// is no separator, while a lead byte before a byte that cannot follow it
// stands alone.
bool holdsCharacter(std::string_view text, char c) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text::isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() &&
            text::isTrailByte(static_cast<unsigned char>(text[i + 1]))) {
            ++i;
            continue;
        }
        if (text[i] == c)
            return true;
    }
    return false;
}

} // namespace

bool isGameFileName(const AnsiString& name) {
    return !name.empty() && name != "." && name != ".." &&
           text::toFileSystem(name).size() <= kMaxNameBytes && !hasControlCharacter(name) &&
           !holdsCharacter(name, '\\') && !holdsCharacter(name, '/') &&
           name.rfind(kPartialPrefix, 0) != 0;
}

FlashFolder::FlashFolder(AnsiString folder) : folder_(std::move(folder)) {}

void FlashFolder::ensureExists() const {
    std::error_code ec;
    const auto path = text::fileSystemPath(folder_);
    if (!std::filesystem::is_directory(path, ec))
        std::filesystem::create_directory(path, ec);
}

void FlashFolder::removeLeftovers() const {
    std::error_code ec;
    for (const auto& entry :
         std::filesystem::directory_iterator(text::fileSystemPath(folder_), ec)) {
        const std::string name = entry.path().filename().native();
        std::error_code ignored;
        // The entry itself, not what a symbolic link points to: a link with
        // a temporary name goes too, whether its target exists or not.
        const auto type = entry.symlink_status(ignored).type();
        if (name.rfind(kPartialPrefix, 0) == 0 && (type == std::filesystem::file_type::regular ||
                                                   type == std::filesystem::file_type::symlink))
            std::filesystem::remove(entry.path(), ignored);
    }
}

PartialGameFile::PartialGameFile(const FlashFolder& folder, const AnsiString& name)
    : folder_(folder.path()), final_(folder.fileOf(name)),
      stream_(createTemporary(folder, temporary_)) {}

PartialGameFile::~PartialGameFile() {
    if (temporary_.empty())
        return;
    stream_.reset();
    std::error_code ec;
    std::filesystem::remove(text::fileSystemPath(temporary_), ec);
}

bool PartialGameFile::commit(const Idle& idle, int sliceMs) {
    // The whole file is on the disk before it gets its name: a power loss
    // never leaves a short file under a game's name.
    TFileStream& file = *stream_;
    if (!waitFor([&file] { file.Sync(); }, idle, sliceMs))
        return false;
    stream_.reset();
    if (std::rename(text::toFileSystem(temporary_).c_str(), text::toFileSystem(final_).c_str()) !=
        0)
        throw EFCreateError(final_, std::strerror(errno));
    temporary_.clear();
    const AnsiString folder = folder_;
    return waitFor([folder] { syncFolder(folder); }, idle, sliceMs);
}

} // namespace zorvia::portal
