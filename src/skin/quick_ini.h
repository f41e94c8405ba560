#pragma once

#include "text/ansi.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace zorvia {

// A fast reader of the skin's settings text: sections in brackets, "key=value"
// lines, ";" comment lines. Keys and section names are matched without regard
// to ASCII case; the first match wins.
class TQuickIni {
public:
    // Reads the whole of `text` (up to a NUL byte) and replaces both lists.
    void LoadFromStream(std::span<const std::uint8_t> text);
    void LoadFromText(std::string_view text);

    AnsiString ReadString(std::string_view section, std::string_view key,
                          const AnsiString& defaultValue) const;
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const;
    // The section names in file order, brackets removed and trimmed.
    std::vector<AnsiString> ReadSections() const;
    // Fills `list` as above; a missing list is a programming error.
    void ReadSections(std::vector<AnsiString>* list) const;

    const std::vector<AnsiString>& Lines() const { return lines_; }

private:
    struct Section {
        AnsiString header; // trimmed, brackets included
        std::size_t line;  // index of the header in lines_
    };

    std::vector<AnsiString> lines_;
    std::vector<Section> sections_;
};

namespace skin {

// Integer text: decimal with optional sign, or hexadecimal after "$" (also
// after "0x"/"0X" when more follows). No value for anything else, including
// numbers outside 32 bits (hexadecimal may use all 32 bits).
bool parseInteger(std::string_view text, std::int32_t& value);

} // namespace skin
} // namespace zorvia
