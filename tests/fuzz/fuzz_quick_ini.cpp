// Fuzz target: the settings-text reader and its integer parsing. Any 32-bit
// value written in decimal, "$" or "0x" hexadecimal reads back as itself.
#include "fuzz_check.h"
#include "skin/quick_ini.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

using zorvia::fuzz::check;

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

    std::uint32_t bits = 0;
    std::memcpy(&bits, data, std::min<std::size_t>(size, sizeof bits));
    const auto want = static_cast<std::int32_t>(bits);
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", bits);
    for (const std::string& written :
         {std::to_string(want), "$" + std::string(hex), "0x" + std::string(hex)}) {
        zorvia::TQuickIni settings;
        settings.LoadFromText("; written\r\n[Frame]\r\nLeftWidth = " + written + "\r\n");
        check(settings.ReadInteger("frame", "leftwidth", want ^ 1) == want,
              "a 32-bit value written in the settings reads back as itself");
    }
    return 0;
}
