#pragma once

#include "text/ansi.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace zorvia::net {

// Received bytes not yet consumed, in arrival order. Appends at the back,
// consumes from the front; the storage is compacted lazily so both are
// amortised constant time per byte.
class InputQueue {
public:
    std::size_t size() const { return data_.size() - head_; }
    bool empty() const { return size() == 0; }
    std::string_view view() const { return {data_.data() + head_, size()}; }

    void append(const char* bytes, std::size_t n);
    // Moves the first n bytes (n <= size()) to `out`.
    void extract(char* out, std::size_t n);
    // Removes the first n bytes (n <= size()) and returns them as text.
    AnsiString take(std::size_t n);
    void clear();

private:
    void consume(std::size_t n);

    std::vector<char> data_;
    std::size_t head_ = 0;
};

} // namespace zorvia::net
