#pragma once

#include <string_view>

namespace zorvia::data {

// Compares two UTF-8 texts by the collation of the user's locale (the one
// the environment names, else plain code point order); < 0, 0 or > 0.
int compareSystemText(std::string_view a, std::string_view b, bool ignoreCase);

// The collation callbacks registered as "system" and "systemnocase".
int systemCollation(void* context, int lengthA, const void* a, int lengthB, const void* b);
int systemNoCaseCollation(void* context, int lengthA, const void* a, int lengthB, const void* b);

} // namespace zorvia::data
