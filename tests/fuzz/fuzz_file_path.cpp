// Fuzz target: local paths to and from the file system's names (GB18030 to
// UTF-8). A name of the file system comes back unchanged, every path gives
// a well-formed UTF-8 name, and a conversion does not depend on the one
// before it.
#include "fuzz_check.h"
#include "text/codepage.h"
#include "text/file_path.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using zorvia::fuzz::check;
namespace text = zorvia::text;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    const std::size_t half = size / 2;

    // The input as a path of the game box.
    const std::string name = text::toFileSystem(in);
    check(text::decodeUtf8Strict(name).has_value(), "a path gives a well-formed UTF-8 name");
    const zorvia::AnsiString back = text::fromFileSystem(name);
    check(text::toFileSystem(back) == name, "a path's name converts back to the same name");

    // The input as a name the file system gives.
    if (text::decodeUtf8Strict(in)) {
        const zorvia::AnsiString path = text::fromFileSystem(in);
        check(text::toFileSystem(path) == in, "a file system name comes back unchanged");
    }

    // The second half converts alike after the first half, whatever that
    // left in the converters.
    const std::string_view second = in.substr(half);
    const std::string alone = text::toFileSystem(second);
    (void)text::toFileSystem(in.substr(0, half));
    (void)text::fromFileSystem(in.substr(0, half));
    check(text::toFileSystem(second) == alone, "a conversion does not depend on the last one");
    return 0;
}
