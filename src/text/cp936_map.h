#pragma once

#include <atomic>
#include <cstdint>

namespace zorvia::text::detail {

// What code page 936 makes of single characters, exactly as iconv converts
// them, remembered in tables that fill on first use. No lock: threads that
// race on an entry compute and store the same value.

inline constexpr std::uint16_t kNoAnsiCode = 0xFFFF;
inline constexpr char32_t kNoCodePoint = 0xFFFFFFFF;

// iconv's answers, for the tables.
std::uint16_t askAnsiCode(char32_t codePoint);
char32_t askCodePoint(unsigned char lead, unsigned char trail);

// The tables: 0 stands for "not asked yet" (an answer of 0 is simply asked
// again next time).
inline constexpr char32_t kPlaneSize = 0x10000;
inline constexpr int kTrails = 0xFE - 0x40 + 1;
inline constexpr int kPairs = (0xFE - 0x81 + 1) * kTrails;
extern std::atomic<std::uint16_t> ansiCodes[kPlaneSize];
extern std::atomic<char32_t> codePoints[kPairs];

// The code page 936 bytes of a non-ASCII code point: one byte (a value up to
// 0xFF) or a double-byte character (lead << 8 | trail); "?" when the code
// page has no such character. kNoAnsiCode when iconv's answer is none of
// these.
inline std::uint16_t ansiCodeOf(char32_t codePoint) {
    if (codePoint >= kPlaneSize)
        return askAnsiCode(codePoint);
    std::atomic<std::uint16_t>& entry = ansiCodes[codePoint];
    std::uint16_t code = entry.load(std::memory_order_relaxed);
    if (code == 0) {
        code = askAnsiCode(codePoint);
        entry.store(code, std::memory_order_relaxed);
    }
    return code;
}

// The code point of the double-byte character `lead`, `trail` (a lead byte
// and a trail byte); "?" when the code page leaves it unassigned.
// kNoCodePoint when iconv's answer is not one code point.
inline char32_t codePointOf(unsigned char lead, unsigned char trail) {
    std::atomic<char32_t>& entry = codePoints[(lead - 0x81) * kTrails + (trail - 0x40)];
    char32_t codePoint = entry.load(std::memory_order_relaxed);
    if (codePoint == 0) {
        codePoint = askCodePoint(lead, trail);
        entry.store(codePoint, std::memory_order_relaxed);
    }
    return codePoint;
}

} // namespace zorvia::text::detail
