#include "data/sql_params.h"

#include "text/dbcs.h"

#include <cctype>

namespace zorvia::data {
namespace {

bool isNameByte(unsigned char c) {
    return std::isalnum(c) || c == '_' || text::isLeadByte(c);
}

// Length of the double-byte character or single byte at `pos`.
size_t charLength(std::string_view sql, size_t pos) {
    const auto c = static_cast<unsigned char>(sql[pos]);
    if (!text::isLeadByte(c) || pos + 1 >= sql.size())
        return 1;
    return text::isTrailByte(static_cast<unsigned char>(sql[pos + 1])) ? 2 : 1;
}

// End of the literal or comment that starts at `pos`, or `pos` when none does.
size_t skipQuotedOrComment(std::string_view sql, size_t pos) {
    const char c = sql[pos];
    if (c == '\'' || c == '"') {
        size_t i = pos + 1;
        while (i < sql.size() && sql[i] != c)
            i += charLength(sql, i);
        return i < sql.size() ? i + 1 : sql.size();
    }
    if (c == '-' && pos + 1 < sql.size() && sql[pos + 1] == '-') {
        const size_t end = sql.find('\n', pos);
        return end == std::string_view::npos ? sql.size() : end + 1;
    }
    if (c == '/' && pos + 1 < sql.size() && sql[pos + 1] == '*') {
        const size_t end = sql.find("*/", pos + 2);
        return end == std::string_view::npos ? sql.size() : end + 2;
    }
    return pos;
}

} // namespace

ParsedSql parseSqlParams(std::string_view sql) {
    ParsedSql parsed;
    parsed.text.reserve(sql.size());
    size_t pos = 0;
    while (pos < sql.size()) {
        const size_t skipped = skipQuotedOrComment(sql, pos);
        if (skipped != pos) {
            parsed.text.append(sql.substr(pos, skipped - pos));
            pos = skipped;
            continue;
        }
        if (sql[pos] != ':') {
            const size_t length = charLength(sql, pos);
            parsed.text.append(sql.substr(pos, length));
            pos += length;
            continue;
        }
        if (pos + 1 < sql.size() && sql[pos + 1] == ':') {
            parsed.text += ':';
            pos += 2;
            continue;
        }
        size_t end = pos + 1;
        while (end < sql.size() && isNameByte(static_cast<unsigned char>(sql[end])))
            end += charLength(sql, end);
        if (end == pos + 1) {
            parsed.text += ':';
            ++pos;
            continue;
        }
        parsed.names.emplace_back(sql.substr(pos + 1, end - pos - 1));
        parsed.text += '?';
        pos = end;
    }
    return parsed;
}

} // namespace zorvia::data
