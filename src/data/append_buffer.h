#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <type_traits>

namespace zorvia::data {

// A growing array of plain values that hands out room at its end for the
// caller to fill: growing writes nothing into the new elements, and the
// array doubles when it runs out of room.
template <typename T>
class AppendBuffer {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

public:
    size_t size() const { return size_; }
    size_t capacity() const { return capacity_; }
    T* data() { return items_.get(); }
    const T* data() const { return items_.get(); }
    T& operator[](size_t index) { return items_[index]; }
    const T& operator[](size_t index) const { return items_[index]; }

    void clear() { size_ = 0; }

    // Makes the array `count` elements longer; where the new ones begin.
    T* append(size_t count) {
        if (count > capacity_ - size_)
            reserve(std::max(size_ + count, 2 * capacity_));
        T* begin = items_.get() + size_;
        size_ += count;
        return begin;
    }

    // Room for at least `count` elements.
    void reserve(size_t count) {
        if (count <= capacity_)
            return;
        auto items = std::make_unique_for_overwrite<T[]>(count);
        if (size_ > 0)
            std::memcpy(items.get(), items_.get(), size_ * sizeof(T));
        items_ = std::move(items);
        capacity_ = count;
    }

private:
    std::unique_ptr<T[]> items_;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

} // namespace zorvia::data
