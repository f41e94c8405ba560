#include "lzh_encoder.h"

#include "skin/lzh_model.h"

#include <algorithm>
#include <array>

namespace zorvia::skinpack {

namespace {

using namespace zorvia::skin::lzh;

class BitWriter {
public:
    void put(std::uint32_t bits, int count) {
        for (int i = count - 1; i >= 0; --i) {
            current_ = static_cast<std::uint8_t>((current_ << 1) | ((bits >> i) & 1));
            if (++filled_ == 8) {
                out_.push_back(current_);
                current_ = 0;
                filled_ = 0;
            }
        }
    }
    std::vector<std::uint8_t> finish() {
        if (filled_ > 0)
            out_.push_back(static_cast<std::uint8_t>(current_ << (8 - filled_)));
        filled_ = 0;
        current_ = 0;
        return std::move(out_);
    }

private:
    std::vector<std::uint8_t> out_;
    std::uint8_t current_ = 0;
    int filled_ = 0;
};

// Code and length of the upper 6 position bits, derived from the decoder's
// tables: the code of a value is the first 8-bit pattern that decodes to it.
struct PositionCodes {
    std::array<std::uint8_t, 64> code{};
    std::array<std::uint8_t, 64> length{};

    PositionCodes() {
        std::array<bool, 64> seen{};
        for (int b = 0; b < 256; ++b) {
            const int upper = UpperPositionTable[b];
            if (!seen[upper]) {
                seen[upper] = true;
                code[upper] = static_cast<std::uint8_t>(b);
                length[upper] = CodeLengthTable[b];
            }
        }
    }
};

class Encoder {
public:
    explicit Encoder(std::span<const std::uint8_t> data) {
        text_.assign(InitialWritePos, ' ');
        text_.insert(text_.end(), data.begin(), data.end());
        head_.fill(-1);
        prev_.assign(text_.size(), -1);
    }

    std::vector<std::uint8_t> run() {
        const int end = static_cast<int>(text_.size());
        for (int v = 0; v < InitialWritePos && v + 2 < end; ++v)
            insert(v);
        int v = InitialWritePos;
        while (v < end) {
            int distance = 0;
            const int length = longestMatch(v, distance);
            if (length > THRESHOLD) {
                encodeSymbol(255 - THRESHOLD + length);
                encodePosition(distance - 1);
            } else {
                encodeSymbol(text_[static_cast<size_t>(v)]);
            }
            const int step = length > THRESHOLD ? length : 1;
            for (int k = 0; k < step; ++k)
                if (v + k + 2 < end)
                    insert(v + k);
            v += step;
        }
        return bits_.finish();
    }

private:
    static constexpr int HashBits = 15;
    static constexpr int MaxChain = 256;

    int hash(int v) const {
        const auto* p = &text_[static_cast<size_t>(v)];
        return ((p[0] << 10) ^ (p[1] << 5) ^ p[2]) & ((1 << HashBits) - 1);
    }
    void insert(int v) {
        const int h = hash(v);
        prev_[static_cast<size_t>(v)] = head_[static_cast<size_t>(h)];
        head_[static_cast<size_t>(h)] = v;
    }

    // The longest match for position v within the ring's reach (distance 1
    // to N); its distance goes to `distance`.
    int longestMatch(int v, int& distance) const {
        const int end = static_cast<int>(text_.size());
        const int limit = std::min(F, end - v);
        if (limit <= THRESHOLD)
            return 0;
        int best = 0;
        int chain = 0;
        for (int s = head_[static_cast<size_t>(hash(v))]; s >= 0 && chain < MaxChain;
             s = prev_[static_cast<size_t>(s)], ++chain) {
            if (v - s > N)
                break;
            int k = 0;
            while (k < limit &&
                   text_[static_cast<size_t>(s + k)] == text_[static_cast<size_t>(v + k)])
                ++k;
            if (k > best) {
                best = k;
                distance = v - s;
                if (k == limit)
                    break;
            }
        }
        return best;
    }

    void encodeSymbol(int symbol) {
        // Walk from the leaf up to the root, then send the bits root first.
        std::array<std::uint8_t, T> path{};
        int depth = 0;
        for (int s = tree_.parentOf(symbol + T); s != R;) {
            const int p = tree_.parentOf(s);
            path[static_cast<size_t>(depth++)] = static_cast<std::uint8_t>(s - tree_.childOf(p));
            s = p;
        }
        while (depth > 0)
            bits_.put(path[static_cast<size_t>(--depth)], 1);
        tree_.update(symbol);
    }

    void encodePosition(int position) {
        static const PositionCodes codes;
        const int upper = position >> 6;
        const int length = codes.length[static_cast<size_t>(upper)];
        bits_.put(
            static_cast<std::uint32_t>(codes.code[static_cast<size_t>(upper)] >> (8 - length)),
            length);
        bits_.put(static_cast<std::uint32_t>(position & 0x3F), 6);
    }

    std::vector<std::uint8_t> text_;
    std::array<int, 1 << HashBits> head_{};
    std::vector<int> prev_;
    skin::lzh::HuffTree tree_;
    BitWriter bits_;
};

} // namespace

std::vector<std::uint8_t> lzhEncode(std::span<const std::uint8_t> data) {
    return Encoder(data).run();
}

std::vector<std::uint8_t> packStore(std::span<const std::uint8_t> container) {
    std::vector<std::uint8_t> out;
    const auto size = static_cast<std::uint32_t>(container.size());
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
    const auto packed = lzhEncode(container);
    out.insert(out.end(), packed.begin(), packed.end());
    return out;
}

} // namespace zorvia::skinpack
