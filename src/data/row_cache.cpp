#include "data/row_cache.h"

#include <cstring>
#include <string>
#include <utility>

namespace zorvia::data {
namespace {

// The memory a cache holds outside its own object.
size_t capacityOf(const RowStorage& memory) {
    return memory.rowids.capacity() * sizeof(std::int64_t) +
           memory.cells.capacity() * sizeof(Cell) + memory.store.capacity();
}

// The memory of the largest cache released on this thread, kept up to a
// limit for the next cache: reading a result again then costs no fresh pages
// from the system. A cache that outlives the thread's storage (a query
// destroyed with the static objects) finds no spare and frees its memory.
constexpr size_t kSpareLimit = 16 << 20;

thread_local bool spareGone = false; // no destructor: outlives every query

struct Spare {
    ~Spare() { spareGone = true; }
    RowStorage memory;
};

thread_local Spare spare;

RowStorage* spareMemory() {
    return spareGone ? nullptr : &spare.memory;
}

} // namespace

void RowCache::reset(size_t fieldCount) {
    fieldCount_ = fieldCount;
    RowStorage* kept = spareMemory();
    if (kept != nullptr && capacityOf(memory_) == 0)
        std::swap(memory_, *kept);
    memory_.rowids.clear();
    memory_.cells.clear();
    memory_.store.clear();
}

void RowCache::release() noexcept {
    fieldCount_ = 0;
    const size_t size = capacityOf(memory_);
    RowStorage* kept = spareMemory();
    if (kept != nullptr && size <= kSpareLimit && size > capacityOf(*kept))
        std::swap(memory_, *kept);
    memory_ = {};
}

void RowCache::setWide(size_t field, std::u16string_view text) {
    Cell& cell = last(field);
    cell.present = true;
    cell.kind = Cell::Kind::Wide;
    cell.offset = store(text.data(), text.size() * sizeof(char16_t));
    cell.size = static_cast<std::uint32_t>(text.size() * sizeof(char16_t));
}

void RowCache::setValue(size_t field, const FieldValue& value) {
    if (const auto* bytes = std::get_if<std::string>(&value)) {
        setBytes(field, *bytes);
        return;
    }
    if (const auto* wide = std::get_if<std::u16string>(&value)) {
        setWide(field, *wide);
        return;
    }
    if (const auto* integer = std::get_if<std::int32_t>(&value)) {
        setInteger(field, *integer);
        return;
    }
    Cell& cell = last(field);
    cell.present = true;
    if (const auto* flag = std::get_if<bool>(&value)) {
        cell.kind = Cell::Kind::Boolean;
        cell.flag = *flag;
    } else if (const auto* number = std::get_if<double>(&value)) {
        cell.kind = Cell::Kind::Number;
        cell.number = *number;
    } else {
        cell.kind = Cell::Kind::None;
    }
}

void RowCache::setNull(size_t field, const FieldValue& value) {
    setValue(field, value);
    last(field).present = false;
}

FieldValue RowCache::value(const Cell& cell) const {
    switch (cell.kind) {
    case Cell::Kind::Bytes:
        return std::string(bytes(cell));
    case Cell::Kind::Wide: {
        std::u16string text(cell.size / sizeof(char16_t), u'\0');
        if (cell.size > 0)
            std::memcpy(text.data(), memory_.store.data() + cell.offset, cell.size);
        return text;
    }
    case Cell::Kind::Integer:
        return cell.integer;
    case Cell::Kind::Boolean:
        return cell.flag;
    case Cell::Kind::Number:
        return cell.number;
    case Cell::Kind::None:
        break;
    }
    return {};
}

} // namespace zorvia::data
