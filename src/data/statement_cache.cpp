#include "data/statement_cache.h"

#include <algorithm>

namespace zorvia::data {

sqlite::Stmt* StatementCache::take(std::string_view text) {
    const auto found = std::find_if(entries_.rbegin(), entries_.rend(),
                                    [&](const Entry& entry) { return entry.text == text; });
    if (found == entries_.rend())
        return nullptr;
    sqlite::Stmt* stmt = found->stmt;
    entries_.erase(std::next(found).base());
    return stmt;
}

void StatementCache::keep(const sqlite::Api& api, std::string text, sqlite::Stmt* stmt) {
    if (capacity_ == 0) {
        api.finalize(stmt);
        return;
    }
    if (entries_.size() == capacity_) {
        api.finalize(entries_.front().stmt);
        entries_.erase(entries_.begin());
    }
    entries_.push_back({std::move(text), stmt});
}

void StatementCache::clear(const sqlite::Api& api) noexcept {
    for (const Entry& entry : entries_)
        api.finalize(entry.stmt);
    entries_.clear();
}

} // namespace zorvia::data
