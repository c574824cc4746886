#include "quillmark/history/SqliteError.h"

#include <sqlite3.h>

namespace qm {
namespace {

std::string ErrorText(sqlite3* db, int code) {
    if (db != nullptr && sqlite3_errcode(db) != SQLITE_OK) return sqlite3_errmsg(db);
    return sqlite3_errstr(code);
}

}  // namespace

TSqliteError::TSqliteError(sqlite3* db, int code, const std::string& sentence)
    : TError(sentence + "\n\nError: " + ErrorText(db, code)), code_(code) {}

}  // namespace qm
