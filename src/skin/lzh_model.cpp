#include "skin/lzh_model.h"

#include <algorithm>

namespace zorvia::skin::lzh {

namespace {

// Builds a 256-entry table from (value, run length) pairs laid end to end.
template <size_t Count>
constexpr std::array<std::uint8_t, 256>
runTable(const std::array<std::pair<int, int>, Count>& runs) {
    std::array<std::uint8_t, 256> table{};
    size_t at = 0;
    for (const auto& [value, length] : runs)
        for (int i = 0; i < length; ++i)
            table[at++] = static_cast<std::uint8_t>(value);
    return table;
}

constexpr std::array<std::uint8_t, 256> makeUpperPositionTable() {
    // 32 of 0, 16 each of 1..3, 8 each of 4..11, 4 each of 12..23,
    // 2 each of 24..47, one each of 48..63.
    std::array<std::uint8_t, 256> table{};
    size_t at = 0;
    auto run = [&](int first, int last, int length) {
        for (int v = first; v <= last; ++v)
            for (int i = 0; i < length; ++i)
                table[at++] = static_cast<std::uint8_t>(v);
    };
    run(0, 0, 32);
    run(1, 3, 16);
    run(4, 11, 8);
    run(12, 23, 4);
    run(24, 47, 2);
    run(48, 63, 1);
    return table;
}

} // namespace

const std::array<std::uint8_t, 256> UpperPositionTable = makeUpperPositionTable();
const std::array<std::uint8_t, 256> CodeLengthTable = runTable(
    std::array<std::pair<int, int>, 6>{{{3, 32}, {4, 48}, {5, 64}, {6, 48}, {7, 48}, {8, 16}}});

void HuffTree::reset() {
    for (int i = 0; i < N_CHAR; ++i) {
        freq_[i] = 1;
        child_[i] = static_cast<std::int16_t>(i + T);
        parent_[i + T] = static_cast<std::int16_t>(i);
    }
    for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
        freq_[j] = static_cast<std::uint16_t>(freq_[i] + freq_[i + 1]);
        child_[j] = static_cast<std::int16_t>(i);
        parent_[i] = parent_[i + 1] = static_cast<std::int16_t>(j);
    }
    freq_[T] = 0xFFFF;
    parent_[R] = 0;
}

void HuffTree::rebuild() {
    // Leaves to the front, halving their counts.
    int j = 0;
    for (int i = 0; i < T; ++i) {
        if (child_[i] >= T) {
            freq_[j] = static_cast<std::uint16_t>((freq_[i] + 1) / 2);
            child_[j] = child_[i];
            ++j;
        }
    }
    // Internal nodes again, each inserted where its frequency keeps the order.
    for (int i = 0, k, jj = N_CHAR; jj < T; i += 2, ++jj) {
        const auto f = static_cast<std::uint16_t>(freq_[i] + freq_[i + 1]);
        freq_[jj] = f;
        for (k = jj - 1; f < freq_[k]; --k) {
        }
        ++k;
        std::copy_backward(freq_.begin() + k, freq_.begin() + jj, freq_.begin() + jj + 1);
        std::copy_backward(child_.begin() + k, child_.begin() + jj, child_.begin() + jj + 1);
        freq_[k] = f;
        child_[k] = static_cast<std::int16_t>(i);
    }
    for (int i = 0; i < T; ++i) {
        const int k = child_[i];
        if (k >= T) {
            parent_[k] = static_cast<std::int16_t>(i);
        } else {
            parent_[k] = parent_[k + 1] = static_cast<std::int16_t>(i);
        }
    }
}

void HuffTree::update(int symbol) {
    if (freq_[R] == MAX_FREQ)
        rebuild();
    int c = parent_[symbol + T];
    do {
        const std::uint16_t k = ++freq_[c];
        int l = c + 1;
        if (k > freq_[l]) {
            while (k > freq_[++l]) {
            }
            --l;
            freq_[c] = freq_[l];
            freq_[l] = k;

            const int i = child_[c];
            parent_[i] = static_cast<std::int16_t>(l);
            if (i < T)
                parent_[i + 1] = static_cast<std::int16_t>(l);

            const int j = child_[l];
            child_[l] = static_cast<std::int16_t>(i);
            parent_[j] = static_cast<std::int16_t>(c);
            if (j < T)
                parent_[j + 1] = static_cast<std::int16_t>(c);
            child_[c] = static_cast<std::int16_t>(j);

            c = l;
        }
        c = parent_[c];
    } while (c != 0);
}

} // namespace zorvia::skin::lzh
