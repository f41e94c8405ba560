#pragma once

#include "text/ansi.h"

#include <functional>

namespace zorvia {

// Pragma settings run after every connect; an empty setting is skipped.
struct TSQLitePragma {
    AnsiString CacheSize;
    AnsiString DefaultCacheSize;
    AnsiString DefaultSynchronous;
    AnsiString DefaultTempStore;
    AnsiString TempStore;
    AnsiString Synchronous;
};

// SQL text run once, inside a transaction, at the next connect.
struct TSQLiteInlineSQL {
    AnsiString SQL;
};

// Receives the statements a connection runs and the errors it raises.
struct TSQLiteLog {
    std::function<void(const AnsiString& line)> OnLog;

    void Display(const AnsiString& line) const {
        if (OnLog)
            OnLog(line);
    }
};

} // namespace zorvia
