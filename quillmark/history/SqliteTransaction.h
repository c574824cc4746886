#pragma once
// A write transaction: BEGIN IMMEDIATE takes the write lock at once (waiting through the busy
// timeout while another connection writes); rolled back unless committed.

#include "quillmark/history/SqliteDatabase.h"

namespace qm {

class TSqliteTransaction {
public:
    explicit TSqliteTransaction(TSqliteDatabase& db) : db_(db) { db_.Execute("BEGIN IMMEDIATE"); }
    ~TSqliteTransaction() {
        if (!done_) {
            try {
                db_.Execute("ROLLBACK");
            } catch (...) {
                // A failed statement may have rolled back already; nothing is left to undo.
            }
        }
    }
    TSqliteTransaction(const TSqliteTransaction&) = delete;
    TSqliteTransaction& operator=(const TSqliteTransaction&) = delete;

    void Commit() {
        db_.Execute("COMMIT");
        done_ = true;
    }

private:
    TSqliteDatabase& db_;
    bool done_ = false;
};

}  // namespace qm
