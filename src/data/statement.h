#pragma once

#include "data/sqlite_api.h"

namespace zorvia::data {

// A prepared statement that is finalized when the object goes, so that no
// error path leaves it open on the connection.
class Statement {
public:
    Statement(const sqlite::Api& api, sqlite::Stmt* stmt) : api_(&api), stmt_(stmt) {}
    ~Statement() {
        if (stmt_ != nullptr)
            api_->finalize(stmt_);
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    sqlite::Stmt* get() const { return stmt_; }

    // Hands the statement over without finalizing it.
    sqlite::Stmt* release() {
        sqlite::Stmt* stmt = stmt_;
        stmt_ = nullptr;
        return stmt;
    }

    // Finalizes now; the library's result code.
    int finalize() {
        const int rc = stmt_ != nullptr ? api_->finalize(stmt_) : sqlite::kOk;
        stmt_ = nullptr;
        return rc;
    }

private:
    const sqlite::Api* api_;
    sqlite::Stmt* stmt_;
};

} // namespace zorvia::data
