// Fuzz target: the settings-text reader and its integer parsing.
#include "skin/quick_ini.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zorvia::TQuickIni ini;
    ini.LoadFromStream({data, size});
    for (const auto& section : ini.ReadSections()) {
        for (const char* key : {"Image", "Frame", "Trans", "LeftWidth", ""}) {
            (void)ini.ReadString(section, key, "default");
            (void)ini.ReadInteger(section, key, -1);
        }
    }
    for (const auto& line : ini.Lines()) {
        std::int32_t value = 0;
        (void)zorvia::skin::parseInteger(line, value);
    }
    return 0;
}
