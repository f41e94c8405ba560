#pragma once

#include "data/append_buffer.h"
#include "data/field_value.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace zorvia::data {

// One field of a cached row: the null flag and the stored value. Numbers
// are held here; bytes and UTF-16 text are held by the row cache, the cell
// knows where. Sixteen bytes: no value the library hands out reaches 2 GiB.
struct Cell {
    enum class Kind : std::uint8_t { None, Bytes, Wide, Integer, Boolean, Number };

    bool present = false;
    Kind kind = Kind::None;
    std::uint32_t size = 0; // bytes held by the cache
    union {
        std::int32_t integer;
        bool flag;
        double number;
        size_t offset = 0;
    };
};
static_assert(sizeof(Cell) == 16);

// The memory of a row cache.
struct RowStorage {
    std::vector<std::int64_t> rowids;
    AppendBuffer<Cell> cells;
    AppendBuffer<char> store; // bytes of text and blob values
};

// The rows of an open query, read in full when it opens: each row's rowid
// and one cell per field. The bytes of all text and blob values share one
// store, so that a row costs no allocation of its own.
class RowCache {
public:
    // Empties the cache for rows of `fieldCount` cells each.
    void reset(size_t fieldCount);
    // Empties the cache and gives its memory back.
    void release() noexcept;

    size_t rowCount() const { return memory_.rowids.size(); }
    std::int64_t rowid(size_t row) const { return memory_.rowids[row]; }
    const Cell& cell(size_t row, size_t field) const {
        return memory_.cells[row * fieldCount_ + field];
    }

    // Appends a row of null cells whose rowid is its number; the setters
    // below fill the row appended last.
    void addRow() {
        memory_.rowids.push_back(static_cast<std::int64_t>(memory_.rowids.size()));
        std::fill_n(memory_.cells.append(fieldCount_), fieldCount_, Cell{});
    }
    void setRowid(std::int64_t rowid) { memory_.rowids.back() = rowid; }
    void setBytes(size_t field, std::string_view bytes) {
        Cell& cell = last(field);
        cell.present = true;
        cell.kind = Cell::Kind::Bytes;
        cell.offset = store(bytes.data(), bytes.size());
        cell.size = static_cast<std::uint32_t>(bytes.size());
    }
    void setInteger(size_t field, std::int32_t integer) {
        Cell& cell = last(field);
        cell.present = true;
        cell.kind = Cell::Kind::Integer;
        cell.integer = integer;
    }
    void setWide(size_t field, std::u16string_view text);
    void setValue(size_t field, const FieldValue& value);
    // Marks a field null, keeping `value` as its value.
    void setNull(size_t field, const FieldValue& value);

    // The bytes of a Bytes cell (empty for any other).
    std::string_view bytes(const Cell& cell) const {
        if (cell.kind != Cell::Kind::Bytes)
            return {};
        return {memory_.store.data() + cell.offset, cell.size};
    }
    // The value of a cell as fields read it.
    FieldValue value(const Cell& cell) const;

private:
    Cell& last(size_t field) { return memory_.cells[memory_.cells.size() - fieldCount_ + field]; }
    // Appends bytes to the store; where they begin.
    size_t store(const void* data, size_t size) {
        const size_t offset = memory_.store.size();
        if (size > 0)
            std::memcpy(memory_.store.append(size), data, size);
        return offset;
    }

    size_t fieldCount_ = 0;
    RowStorage memory_;
};

} // namespace zorvia::data
