#include "ui/main/local_store.h"

#include "data/sql_quote.h"
#include "data/sqlite_db.h"
#include "data/sqlite_query.h"

namespace zorvia::ui {

AnsiString listGamesSql() {
    return "select * from iflash order by id desc";
}

AnsiString gameExistsSql(const AnsiString& filename) {
    return "select * from iflash where filename=" + data::quotedSqlText(filename);
}

AnsiString insertGameSql(const AnsiString& subject, const AnsiString& filename,
                         const AnsiString& gamehelp) {
    return "insert into iflash(subject,filename,gamehelp) values(" + data::quotedSqlText(subject) +
           "," + data::quotedSqlText(filename) + "," + data::quotedSqlText(gamehelp) + ")";
}

AnsiString deleteGameSql(const AnsiString& filename) {
    return "delete from iflash where filename=" + data::quotedSqlText(filename);
}

StoreSession::StoreSession(TSQLiteDB& db, TSQLiteQuery& query) : db_(db), query_(query) {
    db_.Open();
}

StoreSession::~StoreSession() {
    try {
        query_.Close();
    } catch (...) {
        // The statement's own error, if any, is the one reported.
    }
    try {
        db_.Close();
    } catch (...) {
    }
}

} // namespace zorvia::ui
