#include "skin/quick_ini.h"

#include "skin/skin_reader.h"
#include "text/ascii_case.h"
#include "text/trim.h"

#include <cassert>
#include <cstdio>
#include <cstdlib>

namespace zorvia {

namespace skin {

bool parseInteger(std::string_view text, std::int32_t& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < text.size() && text[i] == '$') {
        hex = true;
        ++i;
    }
    if (i == text.size())
        return false;
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        magnitude = magnitude * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (magnitude > 0xFFFFFFFFull)
            return false;
    }
    std::int64_t signedValue;
    if (hex) {
        // Hexadecimal fills all 32 bits: $FFFFFFFF is -1.
        signedValue = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
    } else {
        if (magnitude > (negative ? 0x80000000ull : 0x7FFFFFFFull))
            return false;
        signedValue = static_cast<std::int64_t>(magnitude);
    }
    value = static_cast<std::int32_t>(negative ? -signedValue : signedValue);
    return true;
}

} // namespace skin

namespace {

bool isHeader(std::string_view line) {
    return !line.empty() && line.front() == '[' && line.back() == ']';
}

} // namespace

void TQuickIni::LoadFromStream(std::span<const std::uint8_t> text) {
    LoadFromText(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
}

void TQuickIni::LoadFromText(std::string_view text) {
    lines_.clear();
    sections_.clear();
    if (const auto nul = text.find('\0'); nul != std::string_view::npos)
        text = text.substr(0, nul);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text::trim(text.substr(start, end - start));
        if (!line.empty() && line.front() != ';') {
            if (isHeader(line))
                sections_.push_back({AnsiString(line), lines_.size()});
            lines_.emplace_back(line);
        }
        start = end + 1;
    }
}

AnsiString TQuickIni::ReadString(std::string_view section, std::string_view key,
                                 const AnsiString& defaultValue) const {
    if (lines_.empty() || key.empty())
        return defaultValue;
    const AnsiString header = "[" + AnsiString(section) + "]";
    const Section* found = nullptr;
    for (const auto& s : sections_) {
        if (text::equalsNoCaseAnsi(s.header, header)) {
            found = &s;
            break;
        }
    }
    if (found == nullptr)
        return defaultValue;
    for (std::size_t i = found->line + 1; i < lines_.size(); ++i) {
        const std::string_view line = lines_[i];
        if (isHeader(line))
            break;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            continue; // an empty key never matches
        if (!text::equalsNoCaseAnsi(text::trim(line.substr(0, eq)), key))
            continue;
        const std::string_view value = text::trim(line.substr(eq + 1));
        return value.empty() ? defaultValue : AnsiString(value);
    }
    return defaultValue;
}

std::int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key,
                                    std::int32_t defaultValue) const {
    AnsiString s = ReadString(section, key, "");
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X'))
        s.replace(0, 2, "$");
    std::int32_t value = 0;
    return skin::parseInteger(s, value) ? value : defaultValue;
}

std::vector<AnsiString> TQuickIni::ReadSections() const {
    std::vector<AnsiString> names;
    names.reserve(sections_.size());
    for (const auto& s : sections_)
        names.emplace_back(text::trim(std::string_view(s.header).substr(1, s.header.size() - 2)));
    return names;
}

void TQuickIni::ReadSections(std::vector<AnsiString>* list) const {
    if (list == nullptr) {
        std::fprintf(stderr, "The parameter Strings is unassigned!\n");
        assert(list != nullptr && "The parameter Strings is unassigned!");
        return;
    }
    *list = ReadSections();
}

} // namespace zorvia
