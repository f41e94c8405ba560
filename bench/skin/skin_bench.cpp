// Prints: decoding the packed skin and building its model, in ms; the LZHUF
// decoder's and encoder's throughput in MB/s; DrawSkinImage of a window-sized
// frame. Every loop is bounded.
#include "lzh_encoder.h"
#include "skin/lzh.h"
#include "skin/skin_data.h"
#include "skin/skin_draw.h"
#include "skin/stored_skin.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

using namespace zorvia;
using Clock = std::chrono::steady_clock;

namespace {

// Best of `runs` timings of `work`, in milliseconds.
template <class Work>
double bestMs(int runs, Work&& work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        const std::chrono::duration<double, std::milli> took = Clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

std::vector<std::uint8_t> sampleData(std::size_t size) {
    // Half text-like (settings lines), half noisy bitmap-like bytes.
    std::vector<std::uint8_t> out;
    out.reserve(size);
    std::mt19937 rng(5);
    int line = 0;
    while (out.size() < size / 2) {
        const std::string s = "[Object" + std::to_string(line % 40) + "]\r\nImage=part" +
                              std::to_string(line % 13) +
                              ".bmp\r\nLeftWidth=" + std::to_string(line % 7) + "\r\n";
        out.insert(out.end(), s.begin(), s.end());
        ++line;
    }
    std::uniform_int_distribution<int> noise(0, 9);
    std::uint8_t v = 128;
    while (out.size() < size) {
        v = static_cast<std::uint8_t>(v + noise(rng) - 4);
        out.push_back(v);
    }
    return out;
}

} // namespace

int main() {
    const auto stored = skin::storedSkin();
    const std::uint32_t unpacked = stored[0] | (stored[1] << 8) | (stored[2] << 16) |
                                   (static_cast<std::uint32_t>(stored[3]) << 24);

    const double decodeMs = bestMs(20, [&] { (void)skin::lzhDecode(stored.subspan(4), unpacked); });
    TSkinData data;
    data.SetEnvironment([] { return skin::SkinEnvironment{}; });
    data.SetStoredSkin({stored.begin(), stored.end()});
    const double loadMs = bestMs(20, [&] { data.LoadSkinStore(); });
    std::printf("packed skin: %zu bytes -> %u bytes\n", stored.size(), unpacked);
    std::printf("  decode only:             %8.3f ms\n", decodeMs);
    std::printf("  decode and build model:  %8.3f ms (loaded: %s)\n", loadMs,
                data.SkinLoaded() ? "yes" : "no");

    const auto sample = sampleData(8u << 20);
    std::vector<std::uint8_t> packed;
    const double encodeMs = bestMs(2, [&] { packed = skinpack::lzhEncode(sample); });
    const double sampleDecodeMs = bestMs(3, [&] { (void)skin::lzhDecode(packed, sample.size()); });
    const double mb = static_cast<double>(sample.size()) / (1024.0 * 1024.0);
    std::printf("LZHUF on %.0f MB of mixed data (packed to %.1f %%):\n", mb,
                100.0 * static_cast<double>(packed.size()) / static_cast<double>(sample.size()));
    std::printf("  decoder: %8.1f MB/s of output\n", mb / (sampleDecodeMs / 1000.0));
    std::printf("  encoder: %8.1f MB/s of input\n", mb / (encodeMs / 1000.0));

    const auto& m = data.Model();
    QImage target(1002, 631, QImage::Format_RGB32);
    const double drawMs = bestMs(50, [&] {
        skin::DrawSkinObject(target, QRect(0, 0, 1002, 31), m.Top, 1, true);
        skin::DrawSkinObject(target, QRect(0, 0, 4, 631), m.Left, 1);
        skin::DrawSkinObject(target, QRect(998, 0, 4, 631), m.Right, 1);
        skin::DrawSkinObject(target, QRect(4, 627, 994, 4), m.Bottom, 1, true);
        skin::DrawSkinObject(target, QRect(100, 100, 800, 400), m.Buttons, 1);
    });
    std::printf("DrawSkinImage: frame of a 1002 x 631 window and an 800 x 400 button: %.3f ms\n",
                drawMs);
    return 0;
}
