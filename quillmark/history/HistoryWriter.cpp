#include "quillmark/history/HistoryWriter.h"

#include <algorithm>
#include <limits>
#include <map>
#include <optional>
#include <tuple>
#include <utility>

#include <sqlite3.h>

namespace qm {
namespace {

// What a batch tells of a device's latest sighting: its time, the signal of the newest sighting
// that carried one, the response data of the newest that carried some.
struct TLatest {
    std::int64_t receivedMs = std::numeric_limits<std::int64_t>::min();
    std::optional<std::pair<std::int64_t, std::int64_t>> rssi;  // signal, time
    std::optional<std::pair<std::int64_t, std::string>> eir;    // time, bytes

    void Take(const TSighting& sighting) {
        receivedMs = std::max(receivedMs, sighting.receivedMs);
        if (sighting.rssi && (!rssi || rssi->second <= sighting.receivedMs))
            rssi.emplace(*sighting.rssi, sighting.receivedMs);
        if (!sighting.eir.empty() && (!eir || eir->first <= sighting.receivedMs))
            eir.emplace(sighting.receivedMs, sighting.eir);
    }
};

struct TAggregate {
    std::int64_t sightings = 0;
    std::int64_t signalled = 0;
    std::int64_t rssiSum = 0;
    std::optional<std::int64_t> rssiMin;
    std::optional<std::int64_t> rssiMax;
};

// (device, minute, location, transport)
using TRowKey = std::tuple<std::int64_t, std::int64_t, std::int64_t, int>;

// Adds a row's counts to the row of the same key, or inserts it.
constexpr const char* kMergeCounts =
    " ON CONFLICT DO UPDATE SET sightings = sightings + excluded.sightings,"
    " signalled = signalled + excluded.signalled, rssi_sum = rssi_sum + excluded.rssi_sum,"
    " rssi_min = min(coalesce(rssi_min, excluded.rssi_min), coalesce(excluded.rssi_min, rssi_min)),"
    " rssi_max = max(coalesce(rssi_max, excluded.rssi_max), coalesce(excluded.rssi_max, rssi_max))";
constexpr const char* kMinuteColumns =
    "minute(device, span, minute, location, transport, sightings, signalled, rssi_sum, rssi_min, rssi_max)";
constexpr const char* kCountColumns = "sightings, signalled, rssi_sum, rssi_min, rssi_max";

// The rows a pass appends lie at the end of each device's minutes: one page per device, kept in
// this cache (KiB) from one pass to the next instead of being read again.
constexpr int kWriterCacheKiB = 32 * 1024;
// A pass changes about a page per device; checkpointing (which waits for the disk) once the log
// holds this many pages rather than SQLite's default 1,000 spares most passes that wait.
constexpr int kCheckpointPages = 10000;

void BindOptional(TSqliteStatement& statement, int index, const std::optional<std::int64_t>& value) {
    if (value) {
        statement.Bind(index, *value);
    } else {
        statement.BindNull(index);
    }
}

void RunWithCounts(TSqliteStatement& merge, int first, const TAggregate& row) {
    merge.Bind(first, row.sightings).Bind(first + 1, row.signalled).Bind(first + 2, row.rssiSum);
    BindOptional(merge, first + 3, row.rssiMin);
    BindOptional(merge, first + 4, row.rssiMax);
    merge.Run();
}

// Into minute: (device, span, minute, location, transport, counts...).
void MergeRow(TSqliteStatement& merge, const TRowKey& key, std::int64_t span, const TAggregate& row) {
    merge.Bind(1, std::get<0>(key)).Bind(2, span).Bind(3, std::get<1>(key)).Bind(4, std::get<2>(key));
    merge.Bind(5, std::int64_t{std::get<3>(key)});
    RunWithCounts(merge, 6, row);
}

// Into recent: (minute, device, location, transport, counts...).
void MergeRecentRow(TSqliteStatement& merge, const TRowKey& key, const TAggregate& row) {
    merge.Bind(1, std::get<1>(key)).Bind(2, std::get<0>(key)).Bind(3, std::get<2>(key));
    merge.Bind(4, std::int64_t{std::get<3>(key)});
    RunWithCounts(merge, 5, row);
}

std::string Sql(std::initializer_list<std::string_view> parts) {
    std::string sql;
    for (std::string_view part : parts) sql += part;
    return sql;
}

void Add(TAggregate& row, const std::optional<std::int8_t>& rssi) {
    ++row.sightings;
    if (!rssi) return;
    ++row.signalled;
    row.rssiSum += *rssi;
    row.rssiMin = std::min<std::int64_t>(row.rssiMin.value_or(*rssi), *rssi);
    row.rssiMax = std::max<std::int64_t>(row.rssiMax.value_or(*rssi), *rssi);
}

// Steps a query for one row and resets it; nullopt without a row.
std::optional<std::int64_t> QueryOne(TSqliteStatement& statement) {
    std::optional<std::int64_t> value;
    if (statement.Step()) value = statement.Int(0);
    statement.Reset();
    return value;
}

}  // namespace

std::int64_t HistoryMinuteOf(std::int64_t ms) {
    return ms >= 0 ? ms / 60000 : -((-ms + 59999) / 60000);
}

THistoryWriter::THistoryWriter(TSqliteDatabase& db)
    : db_(db),
      dataVersion_(db.Handle(), "PRAGMA data_version"),
      findDevice_(db.Handle(), "SELECT id FROM device WHERE address = ?"),
      addDevice_(db.Handle(), "INSERT INTO device(address) VALUES(?) RETURNING id"),
      findLocation_(db.Handle(), "SELECT id FROM location WHERE name = ?"),
      addLocation_(db.Handle(), "INSERT INTO location(name) VALUES(?) RETURNING id"),
      present_(db.Handle(), "SELECT 1 FROM minute WHERE device = ? AND span = 1 AND minute = ? LIMIT 1"),
      presentRecent_(db.Handle(), "SELECT 1 FROM recent WHERE minute = ?2 AND device = ?1 LIMIT 1"),
      summary_(db.Handle(),
               "INSERT INTO summary(device, first_minute, last_minute, minutes_present)"
               " VALUES(?1, ?2, ?2, 1) ON CONFLICT DO UPDATE SET"
               " first_minute = min(first_minute, excluded.first_minute),"
               " last_minute = max(last_minute, excluded.last_minute),"
               " minutes_present = minutes_present + 1"),
      merge_(db.Handle(), Sql({"INSERT INTO ", kMinuteColumns,
                               " VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)", kMergeCounts})),
      mergeRecent_(db.Handle(),
                   Sql({"INSERT INTO recent(minute, device, location, transport, ", kCountColumns,
                        ") VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)", kMergeCounts})),
      summaryLocation_(db.Handle(),
                       "INSERT INTO summary_location(device, position, location)"
                       " SELECT ?1, (SELECT coalesce(max(position) + 1, 0) FROM summary_location"
                       " WHERE device = ?1), ?2 WHERE NOT EXISTS (SELECT 1 FROM summary_location"
                       " WHERE device = ?1 AND location = ?2)"),
      latest_(db.Handle(),
              "INSERT INTO latest(device, received_ms, rssi, eir) VALUES(?1, ?2, ?3, ?4)"
              " ON CONFLICT DO UPDATE SET received_ms = excluded.received_ms,"
              " rssi = coalesce(excluded.rssi, rssi),"
              " eir = CASE WHEN length(excluded.eir) > 0 THEN excluded.eir ELSE eir END"
              " WHERE excluded.received_ms >= received_ms") {
    db_.Execute("PRAGMA cache_size = -" + std::to_string(kWriterCacheKiB) +
                "; PRAGMA wal_autocheckpoint = " + std::to_string(kCheckpointPages));
}

void THistoryWriter::Forget() {
    devices_.clear();
    locations_.clear();
    seenDataVersion_ = -1;
}

// Another connection's commit may have added, deleted or counted anything remembered.
void THistoryWriter::Revalidate() {
    const std::int64_t version = QueryOne(dataVersion_).value_or(-1);
    if (version != seenDataVersion_) Forget();
    seenDataVersion_ = version;
}

std::int64_t THistoryWriter::FindOrAdd(TSqliteStatement& find, TSqliteStatement& add,
                                       const std::string& key) {
    find.Bind(1, key);
    if (const auto id = QueryOne(find)) return *id;
    add.Bind(1, key);
    return QueryOne(add).value_or(0);
}

THistoryWriter::TKnownDevice& THistoryWriter::Device(const std::string& address) {
    auto [known, added] = devices_.try_emplace(address);
    if (added) known->second.id = FindOrAdd(findDevice_, addDevice_, address);
    return known->second;
}

std::int64_t THistoryWriter::LocationId(const std::string& name) {
    auto [known, added] = locations_.try_emplace(name, 0);
    if (added) known->second = FindOrAdd(findLocation_, addLocation_, name);
    return known->second;
}

// The table that holds the device's minute, counting the minute in the device's summary when it is
// new. A minute with a row already is counted and lies within the summary's first and last
// minute. A new minute starts in recent; one already settled into minute takes its late sightings
// there, so that each device's minute stays in one table.
TSqliteStatement& THistoryWriter::Place(TKnownDevice& device, std::int64_t minute) {
    if (device.presentMinute != minute) {
        presentRecent_.Bind(1, device.id).Bind(2, minute);
        bool inRecent = QueryOne(presentRecent_).has_value();
        if (!inRecent) {
            present_.Bind(1, device.id).Bind(2, minute);
            const bool settled = QueryOne(present_).has_value();
            if (!settled) summary_.Bind(1, device.id).Bind(2, minute).Run();
            inRecent = !settled;
        }
        device.presentMinute = minute;
        device.presentInRecent = inRecent;
    }
    return device.presentInRecent ? mergeRecent_ : merge_;
}

void THistoryWriter::AddSummaryLocation(TKnownDevice& device, std::int64_t locationId) {
    if (std::find(device.locations.begin(), device.locations.end(), locationId) != device.locations.end())
        return;
    summaryLocation_.Bind(1, device.id).Bind(2, locationId).Run();
    device.locations.push_back(locationId);
}

void THistoryWriter::WriteBatch(const std::vector<TRecordedSighting>& batch) {
    Revalidate();
    struct TRow {
        TKnownDevice* device = nullptr;
        TAggregate aggregate;
    };
    std::map<TRowKey, TRow> rows;
    std::vector<std::pair<TKnownDevice*, std::int64_t>> places;
    std::map<TKnownDevice*, TLatest> latest;
    for (const TRecordedSighting& recorded : batch) {
        const TSighting& sighting = recorded.sighting;
        TKnownDevice& device = Device(sighting.address);
        const std::int64_t locationId = LocationId(recorded.location);
        TRow& row = rows[{device.id, HistoryMinuteOf(sighting.receivedMs), locationId,
                          static_cast<int>(sighting.transport)}];
        row.device = &device;
        Add(row.aggregate, sighting.rssi);
        places.emplace_back(&device, locationId);
        latest[&device].Take(sighting);
    }
    // Rows in key order: each device's minutes in order, the pages they touch visited once.
    for (const auto& [key, row] : rows) {
        TSqliteStatement& merge = Place(*row.device, std::get<1>(key));
        if (&merge == &mergeRecent_) {
            MergeRecentRow(merge, key, row.aggregate);
        } else {
            MergeRow(merge, key, 1, row.aggregate);
        }
    }
    for (const auto& [device, locationId] : places) AddSummaryLocation(*device, locationId);
    for (const auto& [device, newest] : latest) {
        latest_.Bind(1, device->id).Bind(2, newest.receivedMs);
        BindOptional(latest_, 3, newest.rssi ? std::optional<std::int64_t>(newest.rssi->first) : std::nullopt);
        latest_.BindBlob(4, newest.eir ? newest.eir->second : std::string()).Run();
    }
}

void THistoryWriter::DeleteDevices(const std::vector<std::string>& addresses) {
    Revalidate();
    for (const std::string& address : addresses) {
        devices_.erase(address);
        findDevice_.Bind(1, address);
        const auto id = QueryOne(findDevice_);
        if (!id) continue;
        for (const char* sql :
             {"DELETE FROM minute WHERE device = ?", "DELETE FROM recent WHERE device = ?",
              "DELETE FROM summary WHERE device = ?", "DELETE FROM summary_location WHERE device = ?",
              "DELETE FROM latest WHERE device = ?", "DELETE FROM device WHERE id = ?"})
            TSqliteStatement(db_.Handle(), sql).Bind(1, *id).Run();
    }
}

int THistoryWriter::RollupStep(std::int64_t cutoffMinute, int maxRows) {
    TSqliteStatement next(db_.Handle(), "SELECT min(id) FROM device WHERE id >= ?");
    next.Bind(1, rollupDevice_);
    if (!next.Step() || next.IsNull(0)) {
        rollupDevice_ = 0;
        return 0;
    }
    const std::int64_t device = next.Int(0);
    TSqliteStatement old(
        db_.Handle(),
        "SELECT minute, location, transport, sightings, signalled, rssi_sum, rssi_min, rssi_max"
        " FROM minute WHERE device = ? AND span = 1 AND minute < ? ORDER BY minute LIMIT ?");
    old.Bind(1, device).Bind(2, cutoffMinute).Bind(3, std::int64_t{maxRows});
    TSqliteStatement remove(db_.Handle(),
                            "DELETE FROM minute WHERE device = ? AND span = 1 AND minute = ? AND location = ?"
                            " AND transport = ?");
    std::vector<std::pair<TRowKey, TAggregate>> rows;
    while (old.Step())
        rows.push_back({{device, old.Int(0), old.Int(1), static_cast<int>(old.Int(2))},
                        {old.Int(3), old.Int(4), old.Int(5), old.OptionalInt(6), old.OptionalInt(7)}});
    for (const auto& [key, row] : rows) {
        const std::int64_t minute = std::get<1>(key);
        const std::int64_t hour = minute - (((minute % 60) + 60) % 60);
        MergeRow(merge_, {device, hour, std::get<2>(key), std::get<3>(key)}, 60, row);
        remove.Bind(1, device)
            .Bind(2, minute)
            .Bind(3, std::get<2>(key))
            .Bind(4, std::int64_t{std::get<3>(key)})
            .Run();
    }
    const int rolled = static_cast<int>(rows.size());
    if (rolled < maxRows) rollupDevice_ = device + 1;
    // A minute remembered as present may have become part of an hour row.
    if (rolled > 0) ForgetPresentMinutes();
    return rolled;
}

void THistoryWriter::ForgetPresentMinutes() {
    for (auto& [address, known] : devices_) known.presentMinute = -1;
}

std::int64_t THistoryWriter::SettleRecent(std::int64_t keepMinutes) {
    TSqliteStatement span(db_.Handle(), "SELECT min(minute), max(minute) FROM recent");
    if (!span.Step() || span.IsNull(0)) return 0;
    const std::int64_t oldest = span.Int(0);
    const std::int64_t newest = span.Int(1);
    if (newest - oldest < 2 * keepMinutes) return 0;
    const std::int64_t cutoff = newest - keepMinutes + 1;
    // In minute's key order, so that each device's page is visited once.
    TSqliteStatement(db_.Handle(), Sql({"INSERT INTO ", kMinuteColumns,
                                        " SELECT device, 1, minute, location, transport, ", kCountColumns,
                                        " FROM recent WHERE minute < ?1 ORDER BY device, minute, location,"
                                        " transport",
                                        kMergeCounts}))
        .Bind(1, cutoff)
        .Run();
    TSqliteStatement remove(db_.Handle(), "DELETE FROM recent WHERE minute < ?1");
    remove.Bind(1, cutoff).Run();
    ForgetPresentMinutes();
    return sqlite3_changes64(db_.Handle());
}

}  // namespace qm
