#pragma once
// The history's SQL writes on the write connection: a batch of sightings merged into the minute
// rows, the summaries and the latest inquiry responses; deletions; one bounded rollup step. The
// caller holds the transaction.
//
// The writer prepares its statements once for the life of the connection and remembers what it
// learnt of the store (device and location ids, each device's newest minute present, the
// locations already in its summary), so that a pass of sightings costs one upsert per minute row
// and little else. What it remembers is dropped when another connection has committed meanwhile
// (PRAGMA data_version) and when the caller rolls a transaction back (Forget).
//
// New minutes go to the recent table, whose rows for one pass share a few pages; SettleRecent
// moves them into minute every few minutes, a page per device at a time.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "quillmark/core/Sighting.h"
#include "quillmark/history/SqliteDatabase.h"
#include "quillmark/history/SqliteStatement.h"

namespace qm {

// UTC minutes since 1970 of a time in milliseconds (rounded down, also before 1970).
std::int64_t HistoryMinuteOf(std::int64_t ms);

class THistoryWriter {
public:
    // The store's tables must exist. Sizes the connection's page cache for the rows it appends to.
    explicit THistoryWriter(TSqliteDatabase& db);

    void WriteBatch(const std::vector<TRecordedSighting>& batch);
    void DeleteDevices(const std::vector<std::string>& addresses);
    // Rolls up to maxRows minute rows older than cutoffMinute into hour rows, one device at a time
    // (the writer remembers where it stopped). Returns how many rows it rolled up.
    int RollupStep(std::int64_t cutoffMinute, int maxRows);
    // Moves the minutes of recent into minute once recent spans 2 * keepMinutes minutes, keeping
    // the newest keepMinutes. Returns how many rows it moved.
    std::int64_t SettleRecent(std::int64_t keepMinutes);
    // Drops what the writer remembers of the store; the caller rolled a transaction back.
    void Forget();

private:
    struct TKnownDevice {
        std::int64_t id = 0;
        std::int64_t presentMinute = -1;      // a minute known to have rows; -1 when none is known
        bool presentInRecent = false;         // whether those rows are in recent (else in minute)
        std::vector<std::int64_t> locations;  // locations known to be in the device's summary
    };

    void Revalidate();
    TKnownDevice& Device(const std::string& address);
    std::int64_t LocationId(const std::string& name);
    std::int64_t FindOrAdd(TSqliteStatement& find, TSqliteStatement& add, const std::string& key);
    TSqliteStatement& Place(TKnownDevice& device, std::int64_t minute);
    void ForgetPresentMinutes();
    void AddSummaryLocation(TKnownDevice& device, std::int64_t locationId);

    TSqliteDatabase& db_;
    TSqliteStatement dataVersion_;
    TSqliteStatement findDevice_;
    TSqliteStatement addDevice_;
    TSqliteStatement findLocation_;
    TSqliteStatement addLocation_;
    TSqliteStatement present_;
    TSqliteStatement presentRecent_;
    TSqliteStatement summary_;
    TSqliteStatement merge_;
    TSqliteStatement mergeRecent_;
    TSqliteStatement summaryLocation_;
    TSqliteStatement latest_;

    std::int64_t seenDataVersion_ = -1;
    std::unordered_map<std::string, TKnownDevice> devices_;
    std::unordered_map<std::string, std::int64_t> locations_;
    std::int64_t rollupDevice_ = 0;
};

}  // namespace qm
