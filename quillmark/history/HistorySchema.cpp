#include "quillmark/history/HistorySchema.h"

#include <array>
#include <string>

#include "quillmark/history/SqliteDatabase.h"
#include "quillmark/history/SqliteTransaction.h"

namespace qm {
namespace {

// Step i brings version i to version i + 1.
constexpr std::array<const char*, kHistorySchemaVersion> kMigrationSteps = {
    "CREATE TABLE device(id INTEGER PRIMARY KEY, address TEXT NOT NULL UNIQUE);"
    "CREATE TABLE location(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE);"
    "CREATE TABLE minute(device INTEGER NOT NULL, span INTEGER NOT NULL, minute INTEGER NOT NULL,"
    " location INTEGER NOT NULL, transport INTEGER NOT NULL, sightings INTEGER NOT NULL,"
    " signalled INTEGER NOT NULL, rssi_sum INTEGER NOT NULL, rssi_min INTEGER, rssi_max INTEGER,"
    " PRIMARY KEY(device, span, minute, location, transport)) WITHOUT ROWID;"
    "CREATE TABLE summary(device INTEGER PRIMARY KEY, first_minute INTEGER NOT NULL,"
    " last_minute INTEGER NOT NULL, minutes_present INTEGER NOT NULL);"
    "CREATE TABLE summary_location(device INTEGER NOT NULL, position INTEGER NOT NULL,"
    " location INTEGER NOT NULL, PRIMARY KEY(device, position)) WITHOUT ROWID;"
    "CREATE TABLE latest(device INTEGER PRIMARY KEY, received_ms INTEGER NOT NULL, rssi INTEGER,"
    " eir BLOB NOT NULL);",
    "CREATE TABLE recent(minute INTEGER NOT NULL, device INTEGER NOT NULL, location INTEGER NOT NULL,"
    " transport INTEGER NOT NULL, sightings INTEGER NOT NULL, signalled INTEGER NOT NULL,"
    " rssi_sum INTEGER NOT NULL, rssi_min INTEGER, rssi_max INTEGER,"
    " PRIMARY KEY(minute, device, location, transport)) WITHOUT ROWID;",
};

}  // namespace

std::int64_t HistorySchemaVersion(TSqliteDatabase& db) {
    return db.QueryInt("PRAGMA user_version");
}

void MigrateHistorySchema(TSqliteDatabase& db) {
    for (std::int64_t version = HistorySchemaVersion(db); version < kHistorySchemaVersion; ++version) {
        TSqliteTransaction transaction(db);
        // Read again inside the write lock: another program may have migrated meanwhile.
        if (HistorySchemaVersion(db) != version) return MigrateHistorySchema(db);
        db.Execute(kMigrationSteps[static_cast<std::size_t>(version)]);
        db.Execute("PRAGMA user_version = " + std::to_string(version + 1));
        transaction.Commit();
    }
}

}  // namespace qm
