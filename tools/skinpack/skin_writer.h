#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zorvia::skinpack {

struct Entry {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

inline constexpr std::int32_t ContainerVersion = 70000;

// A skin container: the 16-byte header, the version's extra header (zero),
// the names (each ended by CR LF), the size table and the entries' bytes.
// Throws std::invalid_argument for a version the engine does not know or a
// name holding a line break.
std::vector<std::uint8_t> writeContainer(const std::vector<Entry>& entries,
                                         std::int32_t version = ContainerVersion);

// The entries of a skin source folder: every ".bmp" file in name order, then
// the one settings text (".ini"). Throws std::runtime_error when the folder
// holds no settings text or more than one.
std::vector<Entry> readSkinFolder(const std::filesystem::path& folder);

// A C++ source defining zorvia::skin::storedSkin() over `stored`.
std::string storedSkinSource(const std::vector<std::uint8_t>& stored);

} // namespace zorvia::skinpack
