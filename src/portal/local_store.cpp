#include "ui/main/local_store.h"

#include "data/sql_quote.h"
#include "data/sqlite_db.h"
#include "data/sqlite_query.h"
#include "text/codepage.h"

#include <QFile>

#include <filesystem>
#include <system_error>

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

bool createGameDatabase(const AnsiString& database, const AnsiString& driver) {
    namespace fs = std::filesystem;
    QFile schema(QStringLiteral(":/zorvia/db/schema.sql"));
    if (!schema.open(QIODevice::ReadOnly))
        return false;
    const fs::path target(text::ansiToUtf8(database));
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
        db.SetDatabase(text::utf8ToAnsi(partial.string()));
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

} // namespace zorvia::ui
