#pragma once
// One prepared SQLite statement: binds by position (from 1), steps, reads columns (from 0).
// Every failure raises TError with SQLite's message.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace qm {

class TSqliteStatement {
public:
    TSqliteStatement(sqlite3* db, std::string_view sql);
    ~TSqliteStatement();
    TSqliteStatement(const TSqliteStatement&) = delete;
    TSqliteStatement& operator=(const TSqliteStatement&) = delete;

    TSqliteStatement& Bind(int index, std::int64_t value);
    TSqliteStatement& Bind(int index, std::string_view text);
    TSqliteStatement& BindBlob(int index, std::string_view bytes);
    TSqliteStatement& BindNull(int index);
    // True while a row is available; false once the statement is done.
    bool Step();
    // Steps a statement that returns no rows.
    void Run();
    // Resets for another round of binds and steps.
    void Reset();

    bool IsNull(int column) const;
    std::int64_t Int(int column) const;
    std::string Text(int column) const;  // the column's bytes, as stored
    std::optional<std::int64_t> OptionalInt(int column) const;

private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

}  // namespace qm
