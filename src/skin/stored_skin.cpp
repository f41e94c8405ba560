#include "skin/stored_skin.h"

namespace zorvia::skin {

std::vector<std::uint8_t> storedSkinStream() {
    const auto stored = storedSkin();
    std::vector<std::uint8_t> out;
    out.reserve(stored.size() + 4);
    const auto length = static_cast<std::uint32_t>(stored.size());
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
    out.insert(out.end(), stored.begin(), stored.end());
    return out;
}

} // namespace zorvia::skin
