#include "quillmark/history/HistoryWriter.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <tuple>

#include "quillmark/history/SqliteStatement.h"

namespace qm {
namespace {

struct TAggregate {
    std::int64_t sightings = 0;
    std::int64_t signalled = 0;
    std::int64_t rssiSum = 0;
    std::optional<std::int64_t> rssiMin;
    std::optional<std::int64_t> rssiMax;
};

// (device, minute, location, transport)
using TRowKey = std::tuple<std::int64_t, std::int64_t, std::int64_t, int>;

constexpr const char* kMergeRow =
    "INSERT INTO minute(device, span, minute, location, transport, sightings, signalled, rssi_sum,"
    " rssi_min, rssi_max) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)"
    " ON CONFLICT DO UPDATE SET sightings = sightings + excluded.sightings,"
    " signalled = signalled + excluded.signalled, rssi_sum = rssi_sum + excluded.rssi_sum,"
    " rssi_min = min(coalesce(rssi_min, excluded.rssi_min), coalesce(excluded.rssi_min, rssi_min)),"
    " rssi_max = max(coalesce(rssi_max, excluded.rssi_max), coalesce(excluded.rssi_max, rssi_max))";

void BindOptional(TSqliteStatement& statement, int index, const std::optional<std::int64_t>& value) {
    if (value) {
        statement.Bind(index, *value);
    } else {
        statement.BindNull(index);
    }
}

void MergeRow(TSqliteStatement& merge, const TRowKey& key, std::int64_t span, const TAggregate& row) {
    merge.Bind(1, std::get<0>(key)).Bind(2, span).Bind(3, std::get<1>(key)).Bind(4, std::get<2>(key));
    merge.Bind(5, std::int64_t{std::get<3>(key)})
        .Bind(6, row.sightings)
        .Bind(7, row.signalled)
        .Bind(8, row.rssiSum);
    BindOptional(merge, 9, row.rssiMin);
    BindOptional(merge, 10, row.rssiMax);
    merge.Run();
}

void Add(TAggregate& row, const std::optional<std::int8_t>& rssi) {
    ++row.sightings;
    if (!rssi) return;
    ++row.signalled;
    row.rssiSum += *rssi;
    row.rssiMin = std::min<std::int64_t>(row.rssiMin.value_or(*rssi), *rssi);
    row.rssiMax = std::max<std::int64_t>(row.rssiMax.value_or(*rssi), *rssi);
}

}  // namespace

std::int64_t HistoryMinuteOf(std::int64_t ms) {
    return ms >= 0 ? ms / 60000 : -((-ms + 59999) / 60000);
}

std::int64_t THistoryWriter::DeviceId(const std::string& address) {
    TSqliteStatement(db_.Handle(), "INSERT OR IGNORE INTO device(address) VALUES(?)").Bind(1, address).Run();
    TSqliteStatement select(db_.Handle(), "SELECT id FROM device WHERE address = ?");
    select.Bind(1, address).Step();
    return select.Int(0);
}

std::int64_t THistoryWriter::LocationId(const std::string& name) {
    TSqliteStatement(db_.Handle(), "INSERT OR IGNORE INTO location(name) VALUES(?)").Bind(1, name).Run();
    TSqliteStatement select(db_.Handle(), "SELECT id FROM location WHERE name = ?");
    select.Bind(1, name).Step();
    return select.Int(0);
}

void THistoryWriter::WriteBatch(const std::vector<TRecordedSighting>& batch) {
    std::map<std::string, std::int64_t> devices;
    std::map<std::string, std::int64_t> locations;
    std::map<TRowKey, TAggregate> rows;
    std::vector<std::pair<std::int64_t, std::int64_t>> firstSeenLocations;
    std::set<std::pair<std::int64_t, std::int64_t>> seenLocations;
    std::map<std::int64_t, const TSighting*> latest;
    for (const TRecordedSighting& recorded : batch) {
        const TSighting& sighting = recorded.sighting;
        auto device = devices.try_emplace(sighting.address, 0);
        if (device.second) device.first->second = DeviceId(sighting.address);
        auto location = locations.try_emplace(recorded.location, 0);
        if (location.second) location.first->second = LocationId(recorded.location);
        const std::int64_t deviceId = device.first->second;
        const std::int64_t locationId = location.first->second;
        Add(rows[{deviceId, HistoryMinuteOf(sighting.receivedMs), locationId,
                  static_cast<int>(sighting.transport)}],
            sighting.rssi);
        if (seenLocations.insert({deviceId, locationId}).second)
            firstSeenLocations.emplace_back(deviceId, locationId);
        const TSighting*& newest = latest[deviceId];
        if (!sighting.eir.empty() && (newest == nullptr || newest->receivedMs <= sighting.receivedMs))
            newest = &sighting;
    }

    TSqliteStatement present(db_.Handle(),
                             "SELECT 1 FROM minute WHERE device = ? AND span = 1 AND minute = ?");
    TSqliteStatement summary(db_.Handle(),
                             "INSERT INTO summary(device, first_minute, last_minute, minutes_present)"
                             " VALUES(?1, ?2, ?2, ?3) ON CONFLICT DO UPDATE SET"
                             " first_minute = min(first_minute, excluded.first_minute),"
                             " last_minute = max(last_minute, excluded.last_minute),"
                             " minutes_present = minutes_present + excluded.minutes_present");
    TSqliteStatement merge(db_.Handle(), kMergeRow);
    std::pair<std::int64_t, std::int64_t> lastMinute{-1, 0};
    for (const auto& [key, row] : rows) {
        const std::pair<std::int64_t, std::int64_t> deviceMinute{std::get<0>(key), std::get<1>(key)};
        if (deviceMinute != lastMinute) {
            lastMinute = deviceMinute;
            present.Bind(1, deviceMinute.first).Bind(2, deviceMinute.second);
            const bool isNew = !present.Step();
            present.Reset();
            summary.Bind(1, deviceMinute.first)
                .Bind(2, deviceMinute.second)
                .Bind(3, std::int64_t{isNew ? 1 : 0})
                .Run();
        }
        MergeRow(merge, key, 1, row);
    }

    TSqliteStatement addLocation(db_.Handle(),
                                 "INSERT INTO summary_location(device, position, location)"
                                 " SELECT ?1, (SELECT coalesce(max(position) + 1, 0) FROM summary_location"
                                 " WHERE device = ?1), ?2 WHERE NOT EXISTS (SELECT 1 FROM summary_location"
                                 " WHERE device = ?1 AND location = ?2)");
    for (const auto& [deviceId, locationId] : firstSeenLocations)
        addLocation.Bind(1, deviceId).Bind(2, locationId).Run();

    TSqliteStatement setLatest(db_.Handle(),
                               "INSERT INTO latest(device, received_ms, rssi, eir) VALUES(?1, ?2, ?3, ?4)"
                               " ON CONFLICT DO UPDATE SET received_ms = excluded.received_ms,"
                               " rssi = excluded.rssi, eir = excluded.eir"
                               " WHERE excluded.received_ms >= received_ms");
    for (const auto& [deviceId, sighting] : latest) {
        if (sighting == nullptr) continue;
        setLatest.Bind(1, deviceId).Bind(2, sighting->receivedMs);
        BindOptional(setLatest, 3,
                     sighting->rssi ? std::optional<std::int64_t>(*sighting->rssi) : std::nullopt);
        setLatest.BindBlob(4, sighting->eir).Run();
    }
}

void THistoryWriter::DeleteDevices(const std::vector<std::string>& addresses) {
    TSqliteStatement select(db_.Handle(), "SELECT id FROM device WHERE address = ?");
    for (const std::string& address : addresses) {
        select.Bind(1, address);
        if (!select.Step()) {
            select.Reset();
            continue;
        }
        const std::int64_t id = select.Int(0);
        select.Reset();
        for (const char* sql : {"DELETE FROM minute WHERE device = ?", "DELETE FROM summary WHERE device = ?",
                                "DELETE FROM summary_location WHERE device = ?",
                                "DELETE FROM latest WHERE device = ?", "DELETE FROM device WHERE id = ?"})
            TSqliteStatement(db_.Handle(), sql).Bind(1, id).Run();
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
    TSqliteStatement merge(db_.Handle(), kMergeRow);
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
        MergeRow(merge, {device, hour, std::get<2>(key), std::get<3>(key)}, 60, row);
        remove.Bind(1, device)
            .Bind(2, minute)
            .Bind(3, std::get<2>(key))
            .Bind(4, std::int64_t{std::get<3>(key)})
            .Run();
    }
    const int rolled = static_cast<int>(rows.size());
    if (rolled < maxRows) rollupDevice_ = device + 1;
    return rolled;
}

}  // namespace qm
