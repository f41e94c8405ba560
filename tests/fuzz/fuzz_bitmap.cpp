// Fuzz target: the Windows bitmap reader.
#include "skin/bitmap_decode.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bitmap = zorvia::skin::decodeBitmap({data, size});
    if (bitmap && bitmap->pixels.size() != static_cast<std::size_t>(bitmap->width) *
                                               static_cast<std::size_t>(bitmap->height))
        std::abort();
    return 0;
}
