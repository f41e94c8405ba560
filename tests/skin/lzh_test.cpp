#include "lzh_encoder.h"
#include "skin/lzh.h"
#include "skin/stored_skin.h"

#include <gtest/gtest.h>

#include <random>

using namespace zorvia;
using zorvia::skin::lzhDecode;
namespace lzh = zorvia::skin::lzh;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes randomBytes(std::size_t n, std::uint32_t seed, int alphabet = 256) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> dist(0, alphabet - 1);
    Bytes out(n);
    for (auto& b : out)
        b = static_cast<std::uint8_t>(dist(rng));
    return out;
}

Bytes text(std::string_view s) {
    return Bytes(s.begin(), s.end());
}

TEST(Lzh, RoundTrips) {
    Bytes mixed;
    for (int i = 0; i < 3000; ++i) {
        const std::string line = "[Section" + std::to_string(i % 17) + "]\r\nImage=tab" +
                                 std::to_string(i % 5) + ".bmp\r\n";
        mixed.insert(mixed.end(), line.begin(), line.end());
    }
    const Bytes stored(skin::storedSkin().begin(), skin::storedSkin().end());
    struct Case {
        const char* name;
        Bytes data;
    };
    const Case cases[] = {
        {"empty", {}},
        {"one byte", {0x41}},
        {"one space", {' '}},
        {"two bytes", {0x00, 0xFF}},
        {"run of spaces", Bytes(5000, ' ')},
        {"long run", Bytes(100000, 0xAB)},
        {"every byte value",
         [] {
             Bytes b;
             for (int i = 0; i < 256 * 4; ++i)
                 b.push_back(static_cast<std::uint8_t>(i));
             return b;
         }()},
        {"random", randomBytes(70000, 1)},
        {"random small alphabet", randomBytes(50000, 2, 4)},
        {"text", mixed},
        // Far more symbols than MAX_FREQ: the tree is rebuilt many times.
        {"random long", randomBytes(300000, 3)},
        {"packed skin", stored},
    };
    for (const auto& c : cases) {
        const Bytes packed = skinpack::lzhEncode(c.data);
        EXPECT_EQ(lzhDecode(packed, c.data.size()), c.data) << c.name;
    }
}

TEST(Lzh, CompressesRedundantData) {
    const Bytes runs(100000, 'x');
    // A match codes at most 60 bytes in about ten bits.
    EXPECT_LT(skinpack::lzhEncode(runs).size(), runs.size() / 40);
}

// The starting tree codes "t" (symbol 116) as eight 0 bits and "s" (115) as
// nine 1 bits: the leaves are paired in order, so the all-zero path ends at
// slot 116 and the all-one path at slot 115.
TEST(Lzh, HandMadeStreams) {
    struct Case {
        Bytes input;
        std::size_t count;
        Bytes want;
    };
    const Case cases[] = {
        {{0x00}, 1, text("t")},
        {{0xFF, 0x80}, 1, text("s")},
        {{}, 0, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lzhDecode(c.input, c.count), c.want);
}

// A literal, then a match of 3 bytes at position 0 (one back): "aaaa".
TEST(Lzh, MatchCopiesFromTheRing) {
    const Bytes data = text("aaaa");
    const Bytes packed = skinpack::lzhEncode(data);
    EXPECT_EQ(lzhDecode(packed, 4), data);
    // The same stream asked for fewer bytes stops inside the match.
    EXPECT_EQ(lzhDecode(packed, 2), text("aa"));
}

TEST(Lzh, InitialRingHoldsSpaces) {
    // A match reaching back before the first byte copies the initial spaces.
    const Bytes data = text("   x   ");
    EXPECT_EQ(lzhDecode(skinpack::lzhEncode(data), data.size()), data);
}

TEST(Lzh, TruncatedInputStillDeliversAllBytes) {
    const Bytes data = randomBytes(20000, 7);
    const Bytes packed = skinpack::lzhEncode(data);
    for (const std::size_t keep : {std::size_t{0}, std::size_t{1}, packed.size() / 2}) {
        const Bytes cut(packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(keep));
        const Bytes out = lzhDecode(cut, data.size());
        ASSERT_EQ(out.size(), data.size()) << keep;
        // What the kept input held decodes as before.
        const std::size_t same = keep / 2;
        EXPECT_TRUE(
            std::equal(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(same), data.begin()))
            << keep;
    }
}

TEST(Lzh, DecodesThroughByteCallbacks) {
    const Bytes data = text("callbacks, one byte at a time");
    const Bytes packed = skinpack::lzhEncode(data);
    std::size_t reads = 0;
    Bytes out;
    TLZH decoder(
        [&](std::uint8_t& b) {
            if (reads >= packed.size())
                return 0;
            b = packed[reads++];
            return 1;
        },
        [&](std::uint8_t b) { out.push_back(b); });
    decoder.Decode(data.size());
    EXPECT_EQ(out, data);
    EXPECT_LE(reads, packed.size());
}

// After many updates the tree keeps its shape: frequencies in order, every
// node the sum of its two children, parents pointing back; and the root is
// halved when it reaches MAX_FREQ.
TEST(Lzh, TreeStaysConsistentAcrossRebuilds) {
    lzh::HuffTree tree;
    std::mt19937 rng(11);
    std::geometric_distribution<int> skewed(0.05);
    bool rebuilt = false;
    for (int i = 0; i < 120000; ++i) {
        const std::uint16_t before = tree.frequencyOf(lzh::R);
        tree.update(std::min(skewed(rng), lzh::N_CHAR - 1));
        if (tree.frequencyOf(lzh::R) < before)
            rebuilt = true;
        ASSERT_LE(tree.frequencyOf(lzh::R), lzh::MAX_FREQ);
    }
    EXPECT_TRUE(rebuilt);
    for (int i = 0; i + 1 < lzh::T; ++i)
        ASSERT_LE(tree.frequencyOf(i), tree.frequencyOf(i + 1)) << i;
    int leaves = 0;
    for (int i = 0; i < lzh::T; ++i) {
        const int c = tree.childOf(i);
        if (c >= lzh::T) {
            ++leaves;
            EXPECT_EQ(tree.parentOf(c), i);
        } else {
            EXPECT_EQ(tree.frequencyOf(i), tree.frequencyOf(c) + tree.frequencyOf(c + 1)) << i;
            EXPECT_EQ(tree.parentOf(c), i);
            EXPECT_EQ(tree.parentOf(c + 1), i);
        }
    }
    EXPECT_EQ(leaves, lzh::N_CHAR);
}

} // namespace
