#pragma once

#include "skin/lzh_model.h"
#include "text/exception.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace zorvia {

// Raised when the decoder cannot set up its tables.
class ElzhException : public Exception {
public:
    using Exception::Exception;
};

// LZHUF decoder bound to an input and an output through two byte callbacks.
// Input that ends early reads as zero bytes, so a call always delivers the
// requested number of bytes.
class TLZH {
public:
    // Reads one byte into `byte`; returns the number of bytes read (0 at end).
    using ReadByte = std::function<int(std::uint8_t& byte)>;
    using WriteByte = std::function<void(std::uint8_t byte)>;

    TLZH(ReadByte read, WriteByte write);

    // Decodes `count` output bytes from the start of a fresh stream. Never
    // writes more than `count` bytes, even when the last match of a damaged
    // stream reaches past them.
    void Decode(std::size_t count);

private:
    int getBit();
    int getByte();
    void fillBits();
    int decodeChar();
    int decodePosition();
    void put(std::uint8_t byte);

    ReadByte read_;
    WriteByte write_;
    skin::lzh::HuffTree tree_;
    std::vector<std::uint8_t> ring_;
    int r_ = skin::lzh::InitialWritePos;
    std::uint16_t bitBuffer_ = 0;
    int bitCount_ = 0;
};

namespace skin {

// Decodes `count` bytes of LZHUF data from `input` into a new buffer.
std::vector<std::uint8_t> lzhDecode(std::span<const std::uint8_t> input, std::size_t count);

} // namespace skin
} // namespace zorvia
