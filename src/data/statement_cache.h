#pragma once

#include "data/sqlite_api.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zorvia::data {

// Prepared statements kept, reset, for the statement texts run last, so
// that a text run again is bound and stepped without being prepared anew.
// The statements belong to one open database; clear() finalizes them and
// must run before the database is closed.
class StatementCache {
public:
    explicit StatementCache(size_t capacity) : capacity_(capacity) { entries_.reserve(capacity); }
    ~StatementCache() = default;
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // The statement kept for `text`, handed over to the caller and no longer
    // kept; nullptr when there is none.
    sqlite::Stmt* take(std::string_view text);

    // Keeps the reset statement `stmt` for `text`, finalizing the statement
    // kept longest when the cache is full.
    void keep(const sqlite::Api& api, std::string text, sqlite::Stmt* stmt);

    // Finalizes every kept statement.
    void clear(const sqlite::Api& api) noexcept;

    size_t size() const { return entries_.size(); }

private:
    struct Entry {
        std::string text;
        sqlite::Stmt* stmt;
    };

    size_t capacity_;
    std::vector<Entry> entries_; // oldest first
};

} // namespace zorvia::data
