#include "quillmark/history/SqliteHistoryReader.h"

#include <algorithm>
#include <limits>
#include <map>
#include <tuple>
#include <unordered_map>

#include "quillmark/core/Utf8.h"
#include "quillmark/history/HistoryPath.h"
#include "quillmark/history/SqliteStatement.h"

namespace qm {
namespace {

constexpr std::int64_t kMsPerMinute = 60000;
// Minutes whose milliseconds fit an int64 with room to spare.
constexpr std::int64_t kMaxMinute = std::numeric_limits<std::int64_t>::max() / kMsPerMinute / 2;

std::int64_t MinuteToMs(std::int64_t minute) {
    return std::clamp(minute, -kMaxMinute, kMaxMinute) * kMsPerMinute;
}

std::optional<int> Rssi(const TSqliteStatement& row, int column) {
    const auto value = row.OptionalInt(column);
    if (!value || *value < -128 || *value > 127) return std::nullopt;
    return static_cast<int>(*value);
}

// The first minute that starts at or after the time; no value overflows.
std::int64_t CeilMinute(std::int64_t ms) {
    return ms / kMsPerMinute + (ms % kMsPerMinute > 0 ? 1 : 0);
}

// A row as stored, its signals checked.
struct TStoredRow {
    std::int64_t minute;
    int span;
    std::int64_t location;
    std::int64_t transport;
    std::int64_t sightings;
    std::int64_t signalled;
    std::int64_t rssiSum;
    std::optional<int> rssiMin;
    std::optional<int> rssiMax;
};

void ReadRows(TSqliteStatement& query, int span, std::vector<TStoredRow>& rows) {
    while (query.Step())
        rows.push_back({query.Int(0), span, query.Int(1), query.Int(2), query.Int(3), query.Int(4),
                        query.Int(5), Rssi(query, 6), Rssi(query, 7)});
}

// Rows whose location has no name are left out, as a store without the location is damaged.
std::vector<THistoryMinute> ToMinutes(TSqliteDatabase& db, const std::vector<TStoredRow>& stored) {
    std::unordered_map<std::int64_t, std::optional<std::string>> names;
    TSqliteStatement name(db.Handle(), "SELECT name FROM location WHERE id = ?");
    std::vector<THistoryMinute> rows;
    rows.reserve(stored.size());
    for (const TStoredRow& from : stored) {
        auto [known, added] = names.try_emplace(from.location);
        if (added) {
            name.Bind(1, from.location);
            if (name.Step()) known->second = ValidUtf8(name.Text(0));
            name.Reset();
        }
        if (!known->second) continue;
        THistoryMinute row;
        row.spanMinutes = from.span;
        row.minuteMs = MinuteToMs(from.minute);
        row.location = *known->second;
        row.transport = from.transport == 1 ? TTransport::LowEnergy : TTransport::Classic;
        row.sightings = std::max<std::int64_t>(from.sightings, 0);
        row.rssiMin = from.rssiMin;
        row.rssiMax = from.rssiMax;
        if (from.signalled > 0 && row.rssiMin && row.rssiMax) {
            const double mean = static_cast<double>(from.rssiSum) / static_cast<double>(from.signalled);
            row.rssiMean =
                std::clamp(mean, static_cast<double>(*row.rssiMin), static_cast<double>(*row.rssiMax));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace

TSqliteHistoryReader::TSqliteHistoryReader(const std::string& storePath, const std::string& vfsName)
    : db_(storePath, TSqliteDatabase::TMode::ReadOnly, vfsName) {}

std::vector<THistoryMinute> TSqliteHistoryReader::Minutes(const std::string& address, std::int64_t fromMs,
                                                          std::int64_t toMs) {
    TSqliteStatement device(db_.Handle(), "SELECT id FROM device WHERE address = ?");
    device.Bind(1, address);
    if (!device.Step()) return {};
    const std::int64_t id = device.Int(0);
    // A minute lies in [fromMs, toMs) when its start does.
    const std::int64_t from = CeilMinute(fromMs);
    const std::int64_t to = CeilMinute(toMs);
    // Each source in its key's order, so that none needs sorting; the three are merged after.
    constexpr const char* kCounts = "location, transport, sightings, signalled, rssi_sum, rssi_min, rssi_max";
    std::vector<TStoredRow> rows;
    std::vector<std::size_t> ends;
    for (const int span : {60, 1}) {
        TSqliteStatement query(db_.Handle(),
                               std::string("SELECT minute, ") + kCounts +
                                   " FROM minute WHERE device = ?1 AND span = ?2 AND minute >= ?3"
                                   " AND minute < ?4 ORDER BY minute, location, transport");
        query.Bind(1, id).Bind(2, std::int64_t{span}).Bind(3, from).Bind(4, to);
        ReadRows(query, span, rows);
        ends.push_back(rows.size());
    }
    // The newest minutes are in recent (a store of version 1 has no such table yet).
    if (db_.QueryInt("SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name = 'recent'") > 0) {
        TSqliteStatement query(db_.Handle(),
                               std::string("SELECT minute, ") + kCounts +
                                   " FROM recent WHERE device = ?1 AND minute >= ?2 AND minute < ?3"
                                   " ORDER BY minute, location, transport");
        query.Bind(1, id).Bind(2, from).Bind(3, to);
        ReadRows(query, 1, rows);
    }
    const auto order = [](const TStoredRow& a, const TStoredRow& b) {
        return std::tie(a.minute, a.span, a.location, a.transport) <
               std::tie(b.minute, b.span, b.location, b.transport);
    };
    std::inplace_merge(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(ends[0]),
                       rows.begin() + static_cast<std::ptrdiff_t>(ends[1]), order);
    std::inplace_merge(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(ends[1]), rows.end(), order);
    return ToMinutes(db_, rows);
}

std::vector<THistoryDeviceSummary> TSqliteHistoryReader::Summary() {
    std::map<std::int64_t, std::vector<std::string>> locations;
    TSqliteStatement places(
        db_.Handle(),
        "SELECT s.device, l.name FROM summary_location s JOIN location l ON l.id = s.location"
        " ORDER BY s.device, s.position");
    while (places.Step()) locations[places.Int(0)].push_back(ValidUtf8(places.Text(1)));
    TSqliteStatement query(db_.Handle(),
                           "SELECT d.id, d.address, s.first_minute, s.last_minute, s.minutes_present"
                           " FROM summary s JOIN device d ON d.id = s.device ORDER BY d.address");
    std::vector<THistoryDeviceSummary> summaries;
    while (query.Step()) {
        THistoryDeviceSummary summary;
        summary.address = ValidUtf8(query.Text(1));
        summary.firstMinuteMs = MinuteToMs(query.Int(2));
        summary.lastMinuteMs = MinuteToMs(query.Int(3));
        summary.minutesPresent = std::max<std::int64_t>(query.Int(4), 0);
        auto found = locations.find(query.Int(0));
        if (found != locations.end()) summary.locations = std::move(found->second);
        summaries.push_back(std::move(summary));
    }
    return summaries;
}

std::optional<THistoryLatest> TSqliteHistoryReader::Latest(const std::string& address) {
    TSqliteStatement query(
        db_.Handle(),
        "SELECT l.received_ms, l.rssi, l.eir FROM latest l JOIN device d ON d.id = l.device"
        " WHERE d.address = ?");
    query.Bind(1, address);
    if (!query.Step()) return std::nullopt;
    THistoryLatest latest;
    latest.receivedMs = query.Int(0);
    if (const auto rssi = Rssi(query, 1)) latest.rssi = static_cast<std::int8_t>(*rssi);
    latest.eir = query.Text(2);
    return latest;
}

std::unique_ptr<IHistoryReader> OpenHistoryReader(const std::string& sessionFilePath) {
    return std::make_unique<TSqliteHistoryReader>(HistoryStorePath(sessionFilePath));
}

}  // namespace qm
