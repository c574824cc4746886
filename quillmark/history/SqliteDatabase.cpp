#include "quillmark/history/SqliteDatabase.h"

#include <sqlite3.h>

#include "quillmark/history/SqliteError.h"
#include "quillmark/history/SqliteStatement.h"

namespace qm {

// SQLite's unix VFS opens every file (database, journal, WAL, shared memory) with O_CLOEXEC where
// the system defines it (Linux), so no descriptor of the store leaks into a started program.
TSqliteDatabase::TSqliteDatabase(const std::string& path, TMode mode, const std::string& vfsName,
                                 int busyTimeoutMs) {
    const int flags =
        (mode == TMode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
        SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(path.c_str(), &db_, flags, vfsName.empty() ? nullptr : vfsName.c_str());
    if (rc != SQLITE_OK) {
        TSqliteError error(db_, rc, "The history store could not be opened.");
        sqlite3_close(db_);
        throw error;
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, busyTimeoutMs);
}

TSqliteDatabase::~TSqliteDatabase() {
    sqlite3_close_v2(db_);
}

void TSqliteDatabase::Execute(std::string_view sql) {
    const std::string text(sql);
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK) throw TSqliteError(db_, rc, "The history store could not run a command.");
}

std::int64_t TSqliteDatabase::QueryInt(std::string_view sql) {
    TSqliteStatement statement(db_, sql);
    return statement.Step() ? statement.Int(0) : 0;
}

std::string TSqliteDatabase::QueryText(std::string_view sql) {
    TSqliteStatement statement(db_, sql);
    return statement.Step() ? statement.Text(0) : std::string();
}

}  // namespace qm
