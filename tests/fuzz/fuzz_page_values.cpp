// Fuzz target: the checks on a game page's values before they reach a
// request or the flash folder: "swfurl" (the file path and the file name
// taken from it) and "gameid" (a query). The page gives UTF-16 text, which
// the game box converts to code page 936. A refused name is refused the
// same way every time; an accepted one names a file inside the flash folder;
// nothing accepted puts a line break into a request.
#include "fuzz_check.h"
#include "portal/flash_folder.h"
#include "portal/request_head.h"
#include "text/codepage.h"
#include "text/dbcs.h"
#include "text/file_path.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

using zorvia::fuzz::check;
using zorvia::fuzz::hasLineBreak;
namespace portal = zorvia::portal;
namespace text = zorvia::text;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string units(size / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = char16_t(data[2 * i] | data[2 * i + 1] << 8);
    const zorvia::AnsiString value = text::utf16ToAnsi(units);

    // "swfurl": the path is sent, its last part names the file.
    const zorvia::AnsiString filename = text::splitstring(value, '/');
    const bool accepted = portal::isGameFileName(filename);
    // Other conversions run on the same converters in between.
    (void)text::toFileSystem(value);
    (void)text::fromFileSystem(std::string_view(reinterpret_cast<const char*>(data), size));
    check(portal::isGameFileName(filename) == accepted, "a name is judged the same every time");

    // A plain name is accepted: letters, digits, ".", "-", "_" and one
    // Chinese character ("\xD3\xCE" in code page 936, three bytes on disk),
    // at most 255 bytes on disk, not "." or "..", not a download's temporary name.
    static constexpr std::string_view kPlain =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-_";
    zorvia::AnsiString plain;
    std::size_t diskBytes = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const bool wide = data[i] >= 0xF0;
        if (diskBytes + (wide ? 3 : 1) > 255)
            break;
        plain += wide ? zorvia::AnsiString("\xD3\xCE")
                      : zorvia::AnsiString(1, kPlain[data[i] % kPlain.size()]);
        diskBytes += wide ? 3 : 1;
    }
    if (!plain.empty() && plain != "." && plain != ".." && !plain.starts_with(".zorvia-part-"))
        check(portal::isGameFileName(plain), "a plain name of up to 255 bytes is accepted");
    if (accepted) {
        const std::string onDisk = text::toFileSystem(filename);
        check(!onDisk.empty() && onDisk != "." && onDisk != ".." &&
                  onDisk.find('/') == std::string::npos && onDisk.find('\0') == std::string::npos,
              "an accepted name is one file name on disk");
        const portal::FlashFolder folder("/flash");
        check(text::fileSystemPath(folder.fileOf(filename)).lexically_normal().parent_path() ==
                  std::filesystem::path("/flash"),
              "an accepted name stays inside the flash folder");
    }
    if (!portal::hasControlCharacter(value)) {
        for (const auto& line : portal::requestHeadLines("/" + value, "portal.test"))
            check(!hasLineBreak(line), "a path that is sent stays on its request line");
    }

    // "gameid": the identifier goes into the query.
    const zorvia::AnsiString query = "favadd=" + value;
    if (!portal::hasControlCharacter(query)) {
        for (const auto& line : portal::portalRequestLines(query, "portal.test", "a=1"))
            check(!hasLineBreak(line), "a query that is sent stays on its request line");
    }
    return 0;
}
