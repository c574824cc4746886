#include "quillmark/history/SqliteHistoryReader.h"

#include <algorithm>
#include <limits>
#include <map>

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

std::int64_t FloorMinute(std::int64_t ms) {
    return ms >= 0 ? ms / kMsPerMinute : -((-ms + kMsPerMinute - 1) / kMsPerMinute);
}

}  // namespace

TSqliteHistoryReader::TSqliteHistoryReader(const std::string& storePath, const std::string& vfsName)
    : db_(storePath, TSqliteDatabase::TMode::ReadOnly, vfsName) {}

std::vector<THistoryMinute> TSqliteHistoryReader::Minutes(const std::string& address, std::int64_t fromMs,
                                                          std::int64_t toMs) {
    // The newest minutes are in recent (a store of version 1 has no such table yet).
    const bool hasRecent =
        db_.QueryInt("SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name = 'recent'") > 0;
    const std::string sources =
        std::string("SELECT span, minute, location, transport, sightings, signalled, rssi_sum, rssi_min,"
                    " rssi_max FROM minute WHERE device = (SELECT id FROM device WHERE address = ?1)"
                    " AND span IN (1, 60) AND minute >= ?2 AND minute < ?3") +
        (hasRecent ? " UNION ALL SELECT 1, minute, location, transport, sightings, signalled, rssi_sum,"
                     " rssi_min, rssi_max FROM recent WHERE device = (SELECT id FROM device WHERE"
                     " address = ?1) AND minute >= ?2 AND minute < ?3"
                   : "");
    TSqliteStatement query(db_.Handle(),
                           "SELECT m.span, m.minute, l.name, m.transport, m.sightings, m.signalled,"
                           " m.rssi_sum, m.rssi_min, m.rssi_max FROM (" +
                               sources +
                               ") m JOIN location l ON l.id = m.location"
                               " ORDER BY m.minute, m.span, m.location, m.transport");
    // A minute lies in [fromMs, toMs) when its start does.
    query.Bind(1, address).Bind(2, -FloorMinute(-fromMs)).Bind(3, -FloorMinute(-toMs));
    std::vector<THistoryMinute> rows;
    while (query.Step()) {
        THistoryMinute row;
        row.spanMinutes = query.Int(0) == 60 ? 60 : 1;
        row.minuteMs = MinuteToMs(query.Int(1));
        row.location = ValidUtf8(query.Text(2));
        row.transport = query.Int(3) == 1 ? TTransport::LowEnergy : TTransport::Classic;
        row.sightings = std::max<std::int64_t>(query.Int(4), 0);
        const std::int64_t signalled = query.Int(5);
        row.rssiMin = Rssi(query, 7);
        row.rssiMax = Rssi(query, 8);
        if (signalled > 0 && row.rssiMin && row.rssiMax) {
            const double mean = static_cast<double>(query.Int(6)) / static_cast<double>(signalled);
            row.rssiMean =
                std::clamp(mean, static_cast<double>(*row.rssiMin), static_cast<double>(*row.rssiMax));
        }
        rows.push_back(std::move(row));
    }
    return rows;
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
