#pragma once
// The history's SQL writes on the write connection: a batch of sightings merged into the minute
// rows, the summaries and the latest inquiry responses; deletions; one bounded rollup step. The
// caller holds the transaction.

#include <cstdint>
#include <string>
#include <vector>

#include "quillmark/core/Sighting.h"
#include "quillmark/history/SqliteDatabase.h"

namespace qm {

// UTC minutes since 1970 of a time in milliseconds (rounded down, also before 1970).
std::int64_t HistoryMinuteOf(std::int64_t ms);

class THistoryWriter {
public:
    explicit THistoryWriter(TSqliteDatabase& db) : db_(db) {}

    void WriteBatch(const std::vector<TRecordedSighting>& batch);
    void DeleteDevices(const std::vector<std::string>& addresses);
    // Rolls up to maxRows minute rows older than cutoffMinute into hour rows, one device at a time
    // (the writer remembers where it stopped). Returns how many rows it rolled up.
    int RollupStep(std::int64_t cutoffMinute, int maxRows);

private:
    std::int64_t DeviceId(const std::string& address);
    std::int64_t LocationId(const std::string& name);

    TSqliteDatabase& db_;
    std::int64_t rollupDevice_ = 0;
};

}  // namespace qm
