#pragma once

#include <array>
#include <cstdint>

// The adaptive Huffman model shared by the LZHUF decoder of the engine and the
// encoder of the skin packer: constants, the fixed position tables and the
// frequency tree with its update and rebuild rules.
namespace zorvia::skin::lzh {

inline constexpr int N = 4096;                     // ring buffer size
inline constexpr int F = 60;                       // longest match
inline constexpr int THRESHOLD = 2;                // a match codes at least THRESHOLD + 1 bytes
inline constexpr int N_CHAR = 256 - THRESHOLD + F; // 314 leaf symbols
inline constexpr int T = N_CHAR * 2 - 1;           // 627 tree nodes
inline constexpr int R = T - 1;                    // root node
inline constexpr std::uint16_t MAX_FREQ = 0x8000;
inline constexpr int InitialWritePos = N - F; // 4036; the ring holds spaces before it

// Upper 6 bits of a match position, indexed by the next 8 input bits.
extern const std::array<std::uint8_t, 256> UpperPositionTable;
// Length in bits of the code of those upper 6 bits, indexed likewise.
extern const std::array<std::uint8_t, 256> CodeLengthTable;

// The frequency tree. Node indices below T are tree slots; a child value of T
// or more is a leaf whose symbol is value - T. A leaf's parent is kept at
// parent[symbol + T]. The two children of an internal node sit at child and
// child + 1.
class HuffTree {
public:
    HuffTree() { reset(); }

    void reset();
    // Counts one more use of `symbol` (0 .. N_CHAR - 1), rebuilding first when
    // the root frequency has reached MAX_FREQ.
    void update(int symbol);

    int childOf(int node) const { return child_[node]; }
    int parentOf(int nodeOrLeaf) const { return parent_[nodeOrLeaf]; }
    std::uint16_t frequencyOf(int node) const { return freq_[node]; }

private:
    void rebuild();

    std::array<std::uint16_t, T + 1> freq_{};
    std::array<std::int16_t, T + N_CHAR> parent_{};
    std::array<std::int16_t, T> child_{};
};

} // namespace zorvia::skin::lzh
