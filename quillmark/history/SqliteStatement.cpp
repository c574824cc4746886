#include "quillmark/history/SqliteStatement.h"

#include <sqlite3.h>

#include "quillmark/history/SqliteError.h"

namespace qm {

TSqliteStatement::TSqliteStatement(sqlite3* db, std::string_view sql) : db_(db) {
    const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr);
    if (rc != SQLITE_OK) throw TSqliteError(db, rc, "The history store could not prepare a query.");
}

TSqliteStatement::~TSqliteStatement() {
    sqlite3_finalize(statement_);
}

TSqliteStatement& TSqliteStatement::Bind(int index, std::int64_t value) {
    const int rc = sqlite3_bind_int64(statement_, index, value);
    if (rc != SQLITE_OK) throw TSqliteError(db_, rc, "The history store could not bind a value.");
    return *this;
}

TSqliteStatement& TSqliteStatement::Bind(int index, std::string_view text) {
    const int rc =
        sqlite3_bind_text64(statement_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    if (rc != SQLITE_OK) throw TSqliteError(db_, rc, "The history store could not bind a text.");
    return *this;
}

TSqliteStatement& TSqliteStatement::BindBlob(int index, std::string_view bytes) {
    const int rc = sqlite3_bind_blob64(statement_, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) throw TSqliteError(db_, rc, "The history store could not bind bytes.");
    return *this;
}

TSqliteStatement& TSqliteStatement::BindNull(int index) {
    const int rc = sqlite3_bind_null(statement_, index);
    if (rc != SQLITE_OK) throw TSqliteError(db_, rc, "The history store could not bind a value.");
    return *this;
}

bool TSqliteStatement::Step() {
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    sqlite3_reset(statement_);
    throw TSqliteError(db_, rc, "The history store could not run a query.");
}

void TSqliteStatement::Run() {
    Step();
    Reset();
}

void TSqliteStatement::Reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

bool TSqliteStatement::IsNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

std::int64_t TSqliteStatement::Int(int column) const {
    return sqlite3_column_int64(statement_, column);
}

std::string TSqliteStatement::Text(int column) const {
    const void* bytes = sqlite3_column_blob(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    if (bytes == nullptr || size <= 0) return {};
    return std::string(static_cast<const char*>(bytes), static_cast<std::size_t>(size));
}

std::optional<std::int64_t> TSqliteStatement::OptionalInt(int column) const {
    if (IsNull(column)) return std::nullopt;
    return Int(column);
}

}  // namespace qm
