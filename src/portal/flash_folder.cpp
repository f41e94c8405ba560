#include "portal/flash_folder.h"

#include "net/stream.h"
#include "portal/request_head.h"
#include "text/file_path.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace zorvia::portal {

namespace {

// Files cut short by a download start with this; no game is named so.
constexpr std::string_view kPartialPrefix = ".zorvia-part-";
constexpr std::size_t kMaxNameBytes = 255;

AnsiString temporaryName() {
    static std::atomic<unsigned> next{0};
    return AnsiString(kPartialPrefix) + std::to_string(::getpid()) + "-" + std::to_string(next++);
}

} // namespace

bool isGameFileName(const AnsiString& name) {
    return !name.empty() && name != "." && name != ".." &&
           text::toFileSystem(name).size() <= kMaxNameBytes && !hasControlCharacter(name) &&
           name.find('\\') == AnsiString::npos && name.find('/') == AnsiString::npos &&
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
        if (name.rfind(kPartialPrefix, 0) == 0 && entry.is_regular_file(ignored))
            std::filesystem::remove(entry.path(), ignored);
    }
}

PartialGameFile::PartialGameFile(const FlashFolder& folder, const AnsiString& name)
    : temporary_(folder.fileOf(temporaryName())), final_(folder.fileOf(name)),
      stream_(std::make_unique<TFileStream>(temporary_, TFileStream::Mode::Create)) {}

PartialGameFile::~PartialGameFile() {
    if (temporary_.empty())
        return;
    stream_.reset();
    std::error_code ec;
    std::filesystem::remove(text::fileSystemPath(temporary_), ec);
}

void PartialGameFile::commit() {
    stream_.reset();
    if (std::rename(text::toFileSystem(temporary_).c_str(), text::toFileSystem(final_).c_str()) !=
        0)
        throw EFCreateError(final_, std::strerror(errno));
    temporary_.clear();
}

} // namespace zorvia::portal
