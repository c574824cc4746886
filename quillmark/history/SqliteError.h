#pragma once
// A failure of SQLite: a TError with SQLite's message, and its (extended) result code so that the
// store can tell a full disk or a write error from a damaged file.

#include <string>

#include "quillmark/base/Error.h"

struct sqlite3;

namespace qm {

class TSqliteError : public TError {
public:
    // sentence + "\n\nError: " + the connection's message (or the code's text without one).
    TSqliteError(sqlite3* db, int code, const std::string& sentence);
    int Code() const { return code_; }  // extended result code
    int PrimaryCode() const { return code_ & 0xff; }

private:
    int code_;
};

}  // namespace qm
