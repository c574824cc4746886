// The history store at scale, a timed program that prints each figure beside its goal:
//
//   BatchWrite      the writer's work for one pass of 1,000 sighted devices (one transaction) in a
//                   store that already holds a day of history for them        goal < 5 ms
//                   (with the mean, the slowest pass, and the time to settle the passes' recent
//                   minutes into the minute rows, which the store does every few minutes)
//   BytesPerRow     1,000 devices present every minute for --days days (default 30: 43.2 million
//                   minute rows): the store's size on disk per minute row     goal <= 40 bytes
//   DeviceMinutes   one device's --days days read through IHistoryReader::Minutes   goal < 30 ms
//   Summary         IHistoryReader::Summary of 10,000 devices                 goal < 500 ms
//
// The populations are written straight into the tables (prepared statements, large transactions,
// rows in key order) in a temporary directory (--dir to choose another), removed at the end.
// "--days 1" runs everything once quickly.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "quillmark/history/HistorySchema.h"
#include "quillmark/history/HistoryWriter.h"
#include "quillmark/history/SqliteDatabase.h"
#include "quillmark/history/SqliteHistoryReader.h"
#include "quillmark/history/SqliteStatement.h"
#include "quillmark/history/SqliteTransaction.h"

namespace {

using namespace qm;
using TClock = std::chrono::steady_clock;

constexpr int kDevices = 1000;
constexpr int kSummaryDevices = 10000;
constexpr std::int64_t kStartMinute = 29'000'000;  // a UTC minute in 2025

double MsSince(TClock::time_point start) {
    return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

std::string Address(int device) {
    char text[32];
    std::snprintf(text, sizeof text, "(00:11:22:%02X:%02X:%02X)", (device >> 16) & 0xff, (device >> 8) & 0xff,
                  device & 0xff);
    return text;
}

// Devices 1..devices present in every minute of [kStartMinute, kStartMinute + minutes) at one
// location, with their summaries.
void Populate(const std::string& path, int devices, std::int64_t minutes) {
    TSqliteDatabase db(path, TSqliteDatabase::TMode::ReadWriteCreate);
    db.Execute("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF");
    MigrateHistorySchema(db);
    db.Execute("BEGIN; INSERT INTO location(id, name) VALUES(1, 'Office'), (2, 'Hall')");
    TSqliteStatement device(db.Handle(), "INSERT INTO device(id, address) VALUES(?, ?)");
    TSqliteStatement summary(db.Handle(), "INSERT INTO summary VALUES(?, ?, ?, ?)");
    TSqliteStatement place(db.Handle(), "INSERT INTO summary_location VALUES(?, ?, ?)");
    TSqliteStatement row(db.Handle(), "INSERT INTO minute VALUES(?, 1, ?, 1, 0, ?, ?, ?, ?, ?)");
    std::int64_t written = 0;
    for (int id = 1; id <= devices; ++id) {
        device.Bind(1, std::int64_t{id}).Bind(2, Address(id)).Run();
        const std::int64_t last = kStartMinute + std::max<std::int64_t>(minutes, 1) - 1;
        summary.Bind(1, std::int64_t{id}).Bind(2, kStartMinute).Bind(3, last).Bind(4, minutes).Run();
        place.Bind(1, std::int64_t{id}).Bind(2, std::int64_t{0}).Bind(3, std::int64_t{1}).Run();
        place.Bind(1, std::int64_t{id}).Bind(2, std::int64_t{1}).Bind(3, std::int64_t{2}).Run();
        for (std::int64_t minute = kStartMinute; minute < kStartMinute + minutes; ++minute) {
            const std::int64_t sightings = 4 + minute % 3;
            const std::int64_t rssi = -40 - (minute + id) % 50;
            row.Bind(1, std::int64_t{id}).Bind(2, minute).Bind(3, sightings).Bind(4, sightings);
            row.Bind(5, rssi * sightings).Bind(6, rssi - 3).Bind(7, rssi + 2).Run();
            if (++written % 2'000'000 == 0) db.Execute("COMMIT; BEGIN");
        }
    }
    db.Execute("COMMIT; PRAGMA journal_mode = WAL");
}

double BatchWriteMs(const std::string& path) {
    Populate(path, kDevices, 24 * 60);
    TSqliteDatabase db(path, TSqliteDatabase::TMode::ReadWriteCreate);
    db.Execute("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL");
    THistoryWriter writer(db);
    std::vector<double> times;
    for (int pass = 0; pass < 30; ++pass) {
        std::vector<TRecordedSighting> batch(kDevices);
        for (int id = 1; id <= kDevices; ++id) {
            TSighting& sighting = batch[static_cast<std::size_t>(id - 1)].sighting;
            sighting.address = Address(id);
            sighting.receivedMs = (kStartMinute + 24 * 60) * 60000 + pass * 12000 + id;
            sighting.rssi = static_cast<std::int8_t>(-40 - (id + pass) % 50);
            sighting.eir = std::string(240, static_cast<char>(pass));
            batch[static_cast<std::size_t>(id - 1)].location = "Office";
        }
        const auto start = TClock::now();
        TSqliteTransaction transaction(db);
        writer.WriteBatch(batch);
        transaction.Commit();
        times.push_back(MsSince(start));
    }
    double total = 0;
    for (double time : times) total += time;
    std::sort(times.begin(), times.end());
    std::printf(
        "(batch write: median of %zu passes; mean %.2f ms, slowest %.2f ms with the log's checkpoints)\n",
        times.size(), total / static_cast<double>(times.size()), times.back());
    // The writer's deferred share: the passes' minutes settled from recent into minute, as the
    // store does every few minutes.
    const auto settle = TClock::now();
    TSqliteTransaction transaction(db);
    const std::int64_t settled = writer.SettleRecent(2);
    transaction.Commit();
    std::printf("(settling %lld recent rows into the minute rows: %.2f ms)\n",
                static_cast<long long>(settled), MsSince(settle));
    return times[times.size() / 2];
}

std::int64_t StoreBytes(const std::string& path) {
    std::int64_t bytes = 0;
    for (const char* suffix : {"", "-wal", "-shm"}) {
        struct stat info {};
        if (stat((path + suffix).c_str(), &info) == 0) bytes += info.st_size;
    }
    return bytes;
}

// A day of the devices sighted once a minute, written as the store writes: a batch a minute
// into recent, settled into the minute rows every five minutes. Returns bytes per minute row.
double WrittenBytesPerRow(const std::string& path) {
    constexpr std::int64_t kMinutes = 24 * 60;
    {
        TSqliteDatabase db(path, TSqliteDatabase::TMode::ReadWriteCreate);
        db.Execute("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL");
        MigrateHistorySchema(db);
        THistoryWriter writer(db);
        for (std::int64_t minute = 0; minute < kMinutes; ++minute) {
            std::vector<TRecordedSighting> batch(kDevices);
            for (int id = 1; id <= kDevices; ++id) {
                TRecordedSighting& recorded = batch[static_cast<std::size_t>(id - 1)];
                recorded.sighting.address = Address(id);
                recorded.sighting.receivedMs = (kStartMinute + minute) * 60000 + id;
                recorded.sighting.rssi = static_cast<std::int8_t>(-40 - (id + minute) % 50);
                recorded.location = "Office";
            }
            TSqliteTransaction transaction(db);
            writer.WriteBatch(batch);
            if (minute % 5 == 4) writer.SettleRecent(5);
            transaction.Commit();
        }
        TSqliteTransaction transaction(db);
        writer.SettleRecent(0);
        transaction.Commit();
        db.Execute("PRAGMA wal_checkpoint(TRUNCATE)");
    }
    return static_cast<double>(StoreBytes(path)) / static_cast<double>(kMinutes * kDevices);
}

void Print(const char* name, double value, const char* unit, const char* goal) {
    std::printf("%-14s %12.2f %-6s goal %s\n", name, value, unit, goal);
}

}  // namespace

int main(int argc, char** argv) {
    int days = 30;
    std::string dir = std::filesystem::temp_directory_path().string();
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--days") == 0) days = std::max(1, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--dir") == 0) dir = argv[i + 1];
    }
    std::string work = dir + "/qm-history-bench-XXXXXX";
    if (mkdtemp(work.data()) == nullptr) return 1;
    try {
        Print("BatchWrite", BatchWriteMs(work + "/day.sqlite"), "ms", "< 5 ms");

        const std::string full = work + "/full.sqlite";
        const std::int64_t minutes = std::int64_t{days} * 24 * 60;
        const auto generate = TClock::now();
        Populate(full, kDevices, minutes);
        std::printf("(generated %lld minute rows in %.1f s)\n", static_cast<long long>(minutes * kDevices),
                    MsSince(generate) / 1000);
        Print("BytesPerRow", static_cast<double>(StoreBytes(full)) / static_cast<double>(minutes * kDevices),
              "bytes", "<= 40 bytes");
        std::printf("(as the writer lays them out, a day written minute by minute: %.2f bytes per row)\n",
                    WrittenBytesPerRow(work + "/written.sqlite"));
        TSqliteHistoryReader reader(full);
        const auto read = TClock::now();
        const auto rows =
            reader.Minutes(Address(kDevices / 2), kStartMinute * 60000, (kStartMinute + minutes) * 60000);
        Print("DeviceMinutes", MsSince(read), "ms", "< 30 ms");
        std::printf("(%zu rows read)\n", rows.size());

        const std::string summaries = work + "/summary.sqlite";
        Populate(summaries, kSummaryDevices, 0);
        TSqliteHistoryReader summaryReader(summaries);
        const auto summary = TClock::now();
        const std::size_t count = summaryReader.Summary().size();
        Print("Summary", MsSince(summary), "ms", "< 500 ms");
        std::printf("(%zu devices)\n", count);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        std::filesystem::remove_all(work);
        return 1;
    }
    std::filesystem::remove_all(work);
    return 0;
}
