#pragma once

#include "data/sqlite_api.h"

#include <memory>
#include <optional>
#include <string>

namespace zorvia::data {

// One loaded SQLite library file with its resolved entry points. The file is
// unloaded when the object goes.
class SQLiteLibrary {
public:
    // Loads the library at `path` (a file-system path) and resolves every
    // entry point. No value when the file cannot be loaded as a library;
    // ESQLiteError with the entry point's message when the library lacks one
    // (the first missing one in check order), and then nothing stays loaded.
    static std::optional<SQLiteLibrary> load(const std::string& path);

    const sqlite::Api& api() const { return api_; }

private:
    struct Closer {
        void operator()(void* handle) const;
    };

    SQLiteLibrary(std::unique_ptr<void, Closer> handle, const sqlite::Api& api)
        : handle_(std::move(handle)), api_(api) {}

    std::unique_ptr<void, Closer> handle_;
    sqlite::Api api_;
};

} // namespace zorvia::data
