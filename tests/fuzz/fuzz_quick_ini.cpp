// Fuzz target: the settings-text reader and its integer parsing.
#include "skin/quick_ini.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zorvia::TQuickIni ini;
    ini.LoadFromStream({data, size});
    // Every look-up scans the sections and lines, so the first sections are
    // looked up, not every one: a text of thousands of headers stays linear.
    const auto sections = ini.ReadSections();
    const std::size_t looked = std::min<std::size_t>(sections.size(), 16);
    for (const auto& section : std::span(sections).first(looked)) {
        // ReadInteger reads the value through ReadString.
        for (const char* key : {"Image", "Frame", "Trans", "LeftWidth", ""})
            (void)ini.ReadInteger(section, key, -1);
    }
    for (const auto& line : ini.Lines()) {
        std::int32_t value = 0;
        (void)zorvia::skin::parseInteger(line, value);
    }
    return 0;
}
