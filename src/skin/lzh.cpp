#include "skin/lzh.h"

#include <new>

namespace zorvia {

using namespace skin::lzh;

TLZH::TLZH(ReadByte read, WriteByte write) : read_(std::move(read)), write_(std::move(write)) {}

void TLZH::fillBits() {
    while (bitCount_ <= 8) {
        std::uint8_t byte = 0;
        if (read_(byte) <= 0)
            byte = 0;
        bitBuffer_ = static_cast<std::uint16_t>(bitBuffer_ | (byte << (8 - bitCount_)));
        bitCount_ += 8;
    }
}

int TLZH::getBit() {
    fillBits();
    const int bit = (bitBuffer_ >> 15) & 1;
    bitBuffer_ = static_cast<std::uint16_t>(bitBuffer_ << 1);
    --bitCount_;
    return bit;
}

int TLZH::getByte() {
    fillBits();
    const int byte = bitBuffer_ >> 8;
    bitBuffer_ = static_cast<std::uint16_t>(bitBuffer_ << 8);
    bitCount_ -= 8;
    return byte;
}

int TLZH::decodeChar() {
    int c = tree_.childOf(R);
    while (c < T)
        c = tree_.childOf(c + getBit());
    c -= T;
    tree_.update(c);
    return c;
}

int TLZH::decodePosition() {
    int b = getByte();
    const int upper = UpperPositionTable[b] << 6;
    int extra = CodeLengthTable[b] - 2;
    while (extra-- > 0)
        b = (b << 1) + getBit();
    return upper | (b & 0x3F);
}

void TLZH::put(std::uint8_t byte) {
    write_(byte);
    ring_[r_] = byte;
    r_ = (r_ + 1) & (N - 1);
}

void TLZH::Decode(std::size_t count) {
    try {
        ring_.assign(N + F - 1, 0);
    } catch (const std::bad_alloc&) {
        throw ElzhException("LZH : Cannot get memory for dictionary tables");
    }
    std::fill(ring_.begin(), ring_.begin() + InitialWritePos, std::uint8_t{' '});
    r_ = InitialWritePos;
    bitBuffer_ = 0;
    bitCount_ = 0;
    tree_.reset();

    std::size_t written = 0;
    while (written < count) {
        const int c = decodeChar();
        if (c < 256) {
            put(static_cast<std::uint8_t>(c));
            ++written;
            continue;
        }
        const int start = (r_ - decodePosition() - 1) & (N - 1);
        const int length = c - 255 + THRESHOLD;
        for (int k = 0; k < length && written < count; ++k) {
            put(ring_[(start + k) & (N - 1)]);
            ++written;
        }
    }
}

namespace skin {

std::vector<std::uint8_t> lzhDecode(std::span<const std::uint8_t> input, std::size_t count) {
    std::vector<std::uint8_t> out;
    out.reserve(count);
    std::size_t at = 0;
    TLZH decoder(
        [&](std::uint8_t& byte) {
            if (at >= input.size())
                return 0;
            byte = input[at++];
            return 1;
        },
        [&](std::uint8_t byte) { out.push_back(byte); });
    decoder.Decode(count);
    return out;
}

} // namespace skin
} // namespace zorvia
