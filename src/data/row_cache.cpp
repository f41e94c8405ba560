#include "data/row_cache.h"

#include <cstring>
#include <string>
#include <utility>

namespace zorvia::data {
namespace {

// The memory of the largest cache released on this thread, kept up to a
// limit for the next cache: reading a result again then costs no fresh pages
// from the system.
constexpr size_t kSpareLimit = 16 << 20;
thread_local RowStorage spare;

size_t capacityOf(const RowStorage& memory) {
    return memory.rowids.capacity() * sizeof(std::int64_t) +
           memory.cells.capacity() * sizeof(Cell) + memory.store.capacity();
}

} // namespace

void RowCache::reset(size_t fieldCount) {
    fieldCount_ = fieldCount;
    if (capacityOf(memory_) == 0)
        std::swap(memory_, spare);
    memory_.rowids.clear();
    memory_.cells.clear();
    memory_.store.clear();
}

void RowCache::release() noexcept {
    fieldCount_ = 0;
    const size_t kept = capacityOf(memory_);
    if (kept <= kSpareLimit && kept > capacityOf(spare))
        std::swap(memory_, spare);
    memory_ = {};
}

void RowCache::addRow() {
    memory_.rowids.push_back(static_cast<std::int64_t>(memory_.rowids.size()));
    memory_.cells.resize(memory_.cells.size() + fieldCount_);
}

size_t RowCache::store(const void* data, size_t size) {
    const size_t offset = memory_.store.size();
    const auto* bytes = static_cast<const char*>(data);
    memory_.store.insert(memory_.store.end(), bytes, bytes + size);
    return offset;
}

void RowCache::setBytes(size_t field, std::string_view bytes) {
    Cell& cell = last(field);
    cell.present = true;
    cell.kind = Cell::Kind::Bytes;
    cell.offset = store(bytes.data(), bytes.size());
    cell.size = bytes.size();
}

void RowCache::setWide(size_t field, std::u16string_view text) {
    Cell& cell = last(field);
    cell.present = true;
    cell.kind = Cell::Kind::Wide;
    cell.offset = store(text.data(), text.size() * sizeof(char16_t));
    cell.size = text.size() * sizeof(char16_t);
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
    Cell& cell = last(field);
    cell.present = true;
    if (const auto* integer = std::get_if<std::int32_t>(&value)) {
        cell.kind = Cell::Kind::Integer;
        cell.integer = *integer;
    } else if (const auto* flag = std::get_if<bool>(&value)) {
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

std::string_view RowCache::bytes(const Cell& cell) const {
    if (cell.kind != Cell::Kind::Bytes)
        return {};
    return {memory_.store.data() + cell.offset, cell.size};
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
