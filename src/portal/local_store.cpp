#include "portal/local_store.h"

#include "data/sql_quote.h"
#include "data/sqlite_db.h"
#include "data/sqlite_query.h"
#include "text/file_path.h"

#include <QFile>

#include <filesystem>
#include <system_error>

namespace zorvia::portal {

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

bool createGameDatabase(const AnsiString& database, const AnsiString& driver) {
    namespace fs = std::filesystem;
    QFile schema(QStringLiteral(":/zorvia/db/schema.sql"));
    if (!schema.open(QIODevice::ReadOnly))
        return false;
    const fs::path target = text::fileSystemPath(database);
    fs::path partial = target;
    partial += ".part";
    std::error_code ec;
    fs::create_directories(target.parent_path() / "flash", ec);
    if (ec)
        return false;
    fs::remove(partial, ec);
    try {
        TSQLiteDB db;
        db.SetDriverDLL(driver);
        db.SetDatabase(text::fromFileSystem(partial.native()));
        TSQLiteQuery query;
        query.SetConnection(&db);
        query.SQL().SetText(schema.readAll().toStdString());
        db.Open();
        query.ExecSQL();
        query.Close();
        db.Close();
    } catch (const std::exception&) {
        fs::remove(partial, ec);
        return false;
    }
    fs::rename(partial, target, ec);
    if (ec) {
        fs::remove(partial, ec);
        return false;
    }
    return true;
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

std::vector<LocalGame> listLocalGames(TSQLiteDB& db, TSQLiteQuery& query) {
    std::vector<LocalGame> games;
    StoreSession session(db, query);
    query.SQL().SetText(listGamesSql());
    query.Open();
    for (; !query.Eof(); query.Next())
        games.push_back(
            {query.FieldByName("subject").AsString(), query.FieldByName("filename").AsString()});
    return games;
}

bool localGameRecorded(TSQLiteDB& db, TSQLiteQuery& query, const AnsiString& filename) {
    StoreSession session(db, query);
    query.SQL().SetText(gameExistsSql(filename));
    query.Open();
    return !query.Eof();
}

void recordLocalGame(TSQLiteDB& db, TSQLiteQuery& query, const AnsiString& subject,
                     const AnsiString& filename, const AnsiString& gamehelp) {
    StoreSession session(db, query);
    query.SQL().Clear();
    query.SQL().SetText(insertGameSql(subject, filename, gamehelp));
    query.ExecSQL();
}

void deleteLocalGame(TSQLiteDB& db, TSQLiteQuery& query, const AnsiString& filename) {
    StoreSession session(db, query);
    query.SQL().SetText(deleteGameSql(filename));
    query.ExecSQL();
}

} // namespace zorvia::portal
