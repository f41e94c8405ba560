#include "data/sqlite_library.h"

#include "data/errors.h"

#include <array>
#include <dlfcn.h>

namespace zorvia::data {
namespace {

struct EntryPoint {
    const char* symbol;
    const char* missingMessage;
};

#define ZORVIA_ENTRY(member, symbol, message) EntryPoint{symbol, message},
constexpr std::array kEntryPoints{ZORVIA_SQLITE_ENTRY_POINTS(ZORVIA_ENTRY)};
#undef ZORVIA_ENTRY

} // namespace

void SQLiteLibrary::Closer::operator()(void* handle) const {
    if (handle != nullptr)
        dlclose(handle);
}

std::optional<SQLiteLibrary> SQLiteLibrary::load(const std::string& path) {
    std::unique_ptr<void, Closer> handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL));
    if (!handle)
        return std::nullopt;

    std::array<void*, kEntryPoints.size()> resolved{};
    for (size_t i = 0; i < kEntryPoints.size(); ++i)
        resolved[i] = dlsym(handle.get(), kEntryPoints[i].symbol);
    for (size_t i = 0; i < kEntryPoints.size(); ++i) {
        if (resolved[i] == nullptr)
            throw ESQLiteError(kEntryPoints[i].missingMessage);
    }

    sqlite::Api api;
    size_t next = 0;
#define ZORVIA_ASSIGN(member, symbol, message)                                                     \
    api.member = reinterpret_cast<decltype(api.member)>(resolved[next++]);
    ZORVIA_SQLITE_ENTRY_POINTS(ZORVIA_ASSIGN)
#undef ZORVIA_ASSIGN
    return SQLiteLibrary(std::move(handle), api);
}

} // namespace zorvia::data
