#pragma once
// One SQLite connection, closed with the object. Opened with extended result codes, a busy timeout
// (a second program writing the same file waits its turn) and, when given, a named VFS.

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;

namespace qm {

class TSqliteDatabase {
public:
    enum class TMode { ReadOnly, ReadWriteCreate };

    // vfsName empty: SQLite's default VFS. Raises TSqliteError when the file cannot be opened.
    TSqliteDatabase(const std::string& path, TMode mode, const std::string& vfsName = {},
                    int busyTimeoutMs = 10000);
    ~TSqliteDatabase();
    TSqliteDatabase(const TSqliteDatabase&) = delete;
    TSqliteDatabase& operator=(const TSqliteDatabase&) = delete;

    // Runs statements that return no rows.
    void Execute(std::string_view sql);
    // The first column of the first row of a query, as an integer (0 without a row).
    std::int64_t QueryInt(std::string_view sql);
    std::string QueryText(std::string_view sql);
    sqlite3* Handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

}  // namespace qm
