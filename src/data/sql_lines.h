#pragma once

#include "text/ansi.h"

#include <functional>
#include <string_view>

namespace zorvia::data {

// The SQL text of a query as a list of lines. The text is kept exactly as
// set (line breaks included); every change is reported to the owner.
class SqlLines {
public:
    explicit SqlLines(std::function<void()> onChange) : onChange_(std::move(onChange)) {}
    SqlLines(const SqlLines&) = delete;
    SqlLines& operator=(const SqlLines&) = delete;

    const AnsiString& Text() const { return text_; }
    void SetText(std::string_view text);
    // Appends a line (after a line break when the text is not empty).
    void Add(std::string_view line);
    void Clear();
    int Count() const;
    AnsiString Strings(int index) const;

private:
    void changed() {
        if (onChange_)
            onChange_();
    }

    std::function<void()> onChange_;
    AnsiString text_;
};

} // namespace zorvia::data
