#include "data/database_name.h"

#include "text/ascii_case.h"
#include "text/trim.h"

#include <array>
#include <cctype>

namespace zorvia::data {
namespace {

constexpr char kSeparator = '/';

// The numbers of a dotted version text; a part that does not start with
// digits counts as 0 and ends the reading.
std::array<long, 4> versionNumbers(std::string_view version) {
    std::array<long, 4> numbers{};
    size_t pos = 0;
    for (long& number : numbers) {
        size_t digits = 0;
        while (pos < version.size() && std::isdigit(static_cast<unsigned char>(version[pos]))) {
            if (number < 100000)
                number = number * 10 + (version[pos] - '0');
            ++pos;
            ++digits;
        }
        if (digits == 0 || pos >= version.size() || version[pos] != '.')
            break;
        ++pos;
    }
    return numbers;
}

} // namespace

bool isMemoryDatabase(std::string_view name) {
    return text::equalsNoCase(name, ":memory:");
}

bool hasFileExtension(std::string_view name) {
    const size_t pos = name.find_last_of("./");
    return pos != std::string_view::npos && name[pos] == '.';
}

AnsiString normalizeDatabaseName(std::string_view name, std::string_view defaultExt) {
    AnsiString result(text::trim(name));
    if (!result.empty() && !hasFileExtension(result) && !isMemoryDatabase(result))
        result += defaultExt;
    return result;
}

AnsiString withTrailingSeparator(std::string_view folder) {
    AnsiString result(folder);
    if (result.empty() || result.back() != kSeparator)
        result += kSeparator;
    return result;
}

AnsiString databasePath(std::string_view database, std::string_view defaultDir,
                        std::string_view currentFolder) {
    // The library keeps a database in memory only for the name in lower case;
    // any other spelling would create a file of that name.
    if (isMemoryDatabase(database))
        return ":memory:";
    if (!defaultDir.empty())
        return AnsiString(defaultDir) + AnsiString(database);
    if (database.find(kSeparator) != std::string_view::npos)
        return AnsiString(database);
    return withTrailingSeparator(currentFolder) + AnsiString(database);
}

bool pathNeedsUtf8(std::string_view version) {
    constexpr std::array<long, 4> kLastAnsiVersion{3, 2, 5, 0};
    return versionNumbers(version) > kLastAnsiVersion;
}

} // namespace zorvia::data
