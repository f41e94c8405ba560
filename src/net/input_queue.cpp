#include "net/input_queue.h"

#include <cstring>

namespace zorvia::net {

void InputQueue::append(const char* bytes, std::size_t n) {
    if (head_ > 0 && head_ >= data_.size() / 2) {
        data_.erase(data_.begin(), data_.begin() + static_cast<std::ptrdiff_t>(head_));
        head_ = 0;
    }
    data_.insert(data_.end(), bytes, bytes + n);
}

void InputQueue::extract(char* out, std::size_t n) {
    std::memcpy(out, data_.data() + head_, n);
    consume(n);
}

AnsiString InputQueue::take(std::size_t n) {
    AnsiString text(data_.data() + head_, n);
    consume(n);
    return text;
}

void InputQueue::clear() {
    data_.clear();
    head_ = 0;
}

void InputQueue::consume(std::size_t n) {
    head_ += n;
    if (head_ == data_.size())
        clear();
}

} // namespace zorvia::net
