#include "data/sql_lines.h"

namespace zorvia::data {
namespace {

// Start of line `index` and its length, with "\r\n", "\n" or "\r" ending a line.
bool findLine(std::string_view text, int index, size_t& start, size_t& length) {
    size_t pos = 0;
    for (int line = 0; pos < text.size(); ++line) {
        const size_t end = text.find_first_of("\r\n", pos);
        const size_t stop = end == std::string_view::npos ? text.size() : end;
        if (line == index) {
            start = pos;
            length = stop - pos;
            return true;
        }
        if (stop == text.size())
            break;
        pos = stop + (text.compare(stop, 2, "\r\n") == 0 ? 2 : 1);
    }
    return false;
}

} // namespace

void SqlLines::SetText(std::string_view text) {
    text_ = AnsiString(text);
    changed();
}

void SqlLines::Add(std::string_view line) {
    if (!text_.empty())
        text_ += '\n';
    text_.append(line);
    changed();
}

void SqlLines::Clear() {
    text_.clear();
    changed();
}

int SqlLines::Count() const {
    int count = 0;
    size_t start = 0;
    size_t length = 0;
    while (findLine(text_, count, start, length))
        ++count;
    return count;
}

AnsiString SqlLines::Strings(int index) const {
    size_t start = 0;
    size_t length = 0;
    if (index < 0 || !findLine(text_, index, start, length))
        return {};
    return text_.substr(start, length);
}

} // namespace zorvia::data
