#include "skin/gradient.h"

#include <array>
#include <cmath>

namespace zorvia::skin {

namespace {

struct Ramp {
    int length = -1;
    SkinColour from = 0;
    SkinColour to = 0;
    std::vector<SkinColour> colours;
};

struct RampCache {
    std::array<Ramp, 16> entries;
    std::size_t next = 0;
    int computed = 0;
};

thread_local RampCache cache;

std::vector<SkinColour> computeRamp(int length, SkinColour from, SkinColour to) {
    std::vector<SkinColour> colours(static_cast<std::size_t>(length));
    auto lerp = [&](int a, int b, int i) {
        if (length == 1)
            return a;
        return static_cast<int>(std::lround(a + (b - a) * static_cast<double>(i) / (length - 1)));
    };
    for (int i = 0; i < length; ++i)
        colours[static_cast<std::size_t>(i)] =
            rgbColour(lerp(redOf(from), redOf(to), i), lerp(greenOf(from), greenOf(to), i),
                      lerp(blueOf(from), blueOf(to), i));
    return colours;
}

} // namespace

std::vector<SkinColour> gradientRamp(int length, SkinColour from, SkinColour to) {
    if (length <= 0)
        return {};
    for (const auto& slot : cache.entries)
        if (slot.length == length && slot.from == from && slot.to == to)
            return slot.colours;
    Ramp& slot = cache.entries[cache.next];
    cache.next = (cache.next + 1) % cache.entries.size();
    slot = Ramp{length, from, to, computeRamp(length, from, to)};
    ++cache.computed;
    return slot.colours;
}

int gradientRampsComputed() {
    return cache.computed;
}

} // namespace zorvia::skin
