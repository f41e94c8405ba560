#pragma once

#include "text/ansi.h"

#include <vector>

namespace zorvia {

class TSQLiteDB;
class TSQLiteQuery;

namespace portal {

// The statements on the table of downloaded games. Every value goes in as an
// SQL string literal, so titles, file names and help texts with quotes are
// stored and matched exactly.
AnsiString listGamesSql();
AnsiString gameExistsSql(const AnsiString& filename);
AnsiString insertGameSql(const AnsiString& subject, const AnsiString& filename,
                         const AnsiString& gamehelp);
AnsiString deleteGameSql(const AnsiString& filename);

// Creates an empty game database at `database` from the schema compiled
// into the program, through the SQLite driver at `driver`, together with
// the flash folder next to it. The file appears only when it is complete;
// false (and no database file left behind) when it cannot be made.
bool createGameDatabase(const AnsiString& database, const AnsiString& driver);

// One use of the game database: opens the connection on creation and closes
// the query and the connection when it ends, also when a statement raised.
class StoreSession {
public:
    StoreSession(TSQLiteDB& db, TSQLiteQuery& query);
    ~StoreSession();
    StoreSession(const StoreSession&) = delete;
    StoreSession& operator=(const StoreSession&) = delete;

private:
    TSQLiteDB& db_;
    TSQLiteQuery& query_;
};

// A recorded game as the local list shows it.
struct LocalGame {
    AnsiString subject;
    AnsiString filename;
    bool operator==(const LocalGame&) const = default;
};

// The uses of the table, each one session on `db` with `query`. Errors of
// the data components are raised.
std::vector<LocalGame> listLocalGames(TSQLiteDB& db, TSQLiteQuery& query); // newest first
bool localGameRecorded(TSQLiteDB& db, TSQLiteQuery& query, const AnsiString& filename);
void recordLocalGame(TSQLiteDB& db, TSQLiteQuery& query, const AnsiString& subject,
                     const AnsiString& filename, const AnsiString& gamehelp);
void deleteLocalGame(TSQLiteDB& db, TSQLiteQuery& query, const AnsiString& filename);

} // namespace portal
} // namespace zorvia
