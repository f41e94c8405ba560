// skinpack: packs a skin source folder into the stored skin form, and reads
// stored skins back into their entries with the engine's own reader.
#include "lzh_encoder.h"
#include "skin_writer.h"

#include "skin/skin_message.h"
#include "skin/skin_reader.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace zorvia;

namespace {

int usage() {
    std::cerr << "usage:\n"
                 "  skinpack pack <folder> <out.skn>    pack a skin folder into a skin file\n"
                 "  skinpack cpp <folder> <out.cpp>     pack it into a C++ source (storedSkin())\n"
                 "  skinpack list <skin file>           list the entries of a stored skin\n"
                 "  skinpack unpack <skin file> <dir>   write the entries of a stored skin\n"
                 "A skin file holds a stored skin; a SkinStream value (length first) is\n"
                 "recognised as well.\n";
    return 2;
}

std::vector<std::uint8_t> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, const void* data, std::size_t size) {
    // Written beside the target first, so a failed run leaves no half file.
    const fs::path temporary = path.string() + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size)))
            throw std::runtime_error("cannot write " + path.string());
    }
    fs::rename(temporary, path);
}

std::vector<std::uint8_t> pack(const fs::path& folder) {
    return skinpack::packStore(skinpack::writeContainer(skinpack::readSkinFolder(folder)));
}

TSkinReader open(const fs::path& path) {
    std::vector<std::uint8_t> bytes = readFile(path);
    // A SkinStream value starts with the length of the rest.
    if (bytes.size() >= 8) {
        const std::uint32_t length = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                                     (static_cast<std::uint32_t>(bytes[3]) << 24);
        if (length == bytes.size() - 4)
            bytes.erase(bytes.begin(), bytes.begin() + 4);
    }
    TSkinReader reader;
    if (!reader.ReadStore(bytes))
        throw std::runtime_error(path.string() + " is not a readable stored skin");
    return reader;
}

// Only a plain file name is written: no folders, no "." or "..".
bool safeName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\:") == std::string::npos;
}

} // namespace

int main(int argc, char** argv) {
    skin::setMessageHandler([](const AnsiString& text) {
        std::string line = text;
        for (auto& c : line)
            if (c == '\r')
                c = ' ';
        std::cerr << "skinpack: " << line << '\n';
    });
    if (argc < 3)
        return usage();
    const std::string command = argv[1];
    try {
        if ((command == "pack" || command == "cpp") && argc == 4) {
            const auto stored = pack(argv[2]);
            if (command == "pack") {
                writeFile(argv[3], stored.data(), stored.size());
            } else {
                const std::string source = skinpack::storedSkinSource(stored);
                writeFile(argv[3], source.data(), source.size());
            }
            return 0;
        }
        if (command == "list" && argc == 3) {
            const TSkinReader reader = open(argv[2]);
            std::cout << "version " << reader.Version() << ", " << reader.Names().size()
                      << " entries\n";
            for (std::size_t i = 0; i < reader.Names().size(); ++i)
                std::cout << reader.Sizes()[i] << '\t' << reader.Names()[i] << '\n';
            return 0;
        }
        if (command == "unpack" && argc == 4) {
            const TSkinReader reader = open(argv[2]);
            const fs::path folder = argv[3];
            fs::create_directories(folder);
            int skipped = 0;
            TSkinReader::Bytes bytes;
            for (const auto& name : reader.Names()) {
                if (!safeName(name)) {
                    std::cerr << "skinpack: skipped the entry \"" << name
                              << "\" (not a plain file name)\n";
                    ++skipped;
                    continue;
                }
                reader.ExtractEntry(name, bytes);
                writeFile(folder / name, bytes.data(), bytes.size());
            }
            return skipped == 0 ? 0 : 1;
        }
    } catch (const std::exception& e) {
        std::cerr << "skinpack: " << e.what() << '\n';
        return 1;
    }
    return usage();
}
