#pragma once
// The store's tables and their forward migrations, stamped in PRAGMA user_version.
//
// Version 1:
//   device(id INTEGER PRIMARY KEY, address TEXT UNIQUE)      small ids for the rows below
//   location(id INTEGER PRIMARY KEY, name TEXT UNIQUE)
//   minute(device, span, minute, location, transport,         WITHOUT ROWID, keyed by the first five
//          sightings, signalled, rssi_sum, rssi_min, rssi_max)
//     minute: UTC minutes since 1970 (of the minute, or of the hour's first minute when span = 60);
//     signalled: how many of the sightings carried a signal; rssi_sum: the sum of those signals, so
//     that the mean is rssi_sum / signalled and merging rows is exact.
//   summary(device PRIMARY KEY, first_minute, last_minute, minutes_present)   kept by the writer
//   summary_location(device, position, location)                 locations in first-seen order
//   latest(device PRIMARY KEY, received_ms, rssi, eir BLOB)
//
// Version 2 adds:
//   recent(minute, device, location, transport, sightings, signalled, rssi_sum, rssi_min,
//          rssi_max)                                           WITHOUT ROWID, keyed by the first four
//     The newest minutes, keyed minute first so that a pass of sightings changes a few pages at the
//     end of the table rather than one page per device in minute. The writer settles older minutes
//     into minute (span 1) every few minutes. A device's minute lies wholly in one of the two tables.

#include <cstdint>

namespace qm {

class TSqliteDatabase;

inline constexpr std::int64_t kHistorySchemaVersion = 2;

// The store's version stamp (0 for a new, empty file).
std::int64_t HistorySchemaVersion(TSqliteDatabase& db);
// Brings a store of an older version (0 included) up to kHistorySchemaVersion, one step per
// version, each in a transaction of its own. The caller checks that the store is not newer.
void MigrateHistorySchema(TSqliteDatabase& db);

}  // namespace qm
