#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <limits>
#include <mutex>
#include <thread>

#include "quillmark/history/HistoryPath.h"
#include "quillmark/history/HistorySchema.h"
#include "quillmark/history/SqliteDatabase.h"
#include "quillmark/history/SqliteHistoryReader.h"
#include "quillmark/history/SqliteHistoryStore.h"
#include "support/FailingVfs.h"
#include "testsupport/ScopedTempDir.h"

namespace {

using namespace qm;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr std::int64_t kMinute = 60000;
constexpr std::int64_t kT0 = 1'700'000'040'000;  // the start of a UTC minute
const std::string kA = "(00:11:22:AA:BB:01)";
const std::string kB = "(00:11:22:AA:BB:02)";

TRecordedSighting Seen(const std::string& address, std::int64_t ms, std::optional<std::int8_t> rssi,
                       const std::string& location = "Office", TTransport transport = TTransport::Classic,
                       const std::string& eir = {}) {
    TRecordedSighting recorded;
    recorded.sighting.address = address;
    recorded.sighting.receivedMs = ms;
    recorded.sighting.rssi = rssi;
    recorded.sighting.transport = transport;
    recorded.sighting.eir = eir;
    recorded.location = location;
    return recorded;
}

// Collects the store's log lines from its writer thread; each must fit one line of the log.
struct TLog {
    std::mutex mutex;
    std::vector<std::string> lines;
    THistoryLog Callback() {
        return [this](const std::string& line) {
            EXPECT_EQ(line.find('\n'), std::string::npos) << line;
            std::lock_guard lock(mutex);
            lines.push_back(line);
        };
    }
    std::vector<std::string> Lines() {
        std::lock_guard lock(mutex);
        return lines;
    }
};

class HistoryStoreTest : public ::testing::Test {
protected:
    std::string Path() const { return (dir / kHistoryStoreFileName).string(); }
    std::unique_ptr<TSqliteHistoryStore> Open(THistoryStoreOptions options = {}) {
        options.coalesceMs = 0;
        options.retryMs = 10;
        if (options.clock == nullptr) options.clock = &clock;
        return std::make_unique<TSqliteHistoryStore>(Path(), log.Callback(), options);
    }
    void Write(std::vector<std::vector<TRecordedSighting>> batches) {
        auto store = Open();
        for (auto& batch : batches) store->SightingsRecorded(std::move(batch));
    }
    TSqliteHistoryReader Reader() { return TSqliteHistoryReader(Path()); }

    // The rollup measures age by this clock: the test's minutes are recent.
    TSettableClock clock{static_cast<std::int32_t>(kT0 / 1000)};
    testsupport::ScopedTempDir dir;
    TLog log;
};

struct TAggregationCase {
    const char* name;
    std::vector<std::vector<TRecordedSighting>> batches;
    std::int64_t sightings;
    std::optional<int> rssiMin, rssiMax;
    std::optional<double> rssiMean;
};

TEST_F(HistoryStoreTest, AggregatesTheSightingsOfAMinute) {
    const std::vector<TAggregationCase> cases = {
        {"one with a signal", {{Seen(kA, kT0, -60)}}, 1, -60, -60, -60.0},
        {"several in one minute",
         {{Seen(kA, kT0, -60), Seen(kA, kT0 + 1000, -70), Seen(kA, kT0 + 59999, -65)}},
         3,
         -70,
         -60,
         -65.0},
        {"signal and no signal", {{Seen(kA, kT0, -50), Seen(kA, kT0 + 5, std::nullopt)}}, 2, -50, -50, -50.0},
        {"no signal at all", {{Seen(kA, kT0, std::nullopt)}}, 1, std::nullopt, std::nullopt, std::nullopt},
        {"merged across batches",
         {{Seen(kA, kT0, -40), Seen(kA, kT0 + 1, std::nullopt)},
          {Seen(kA, kT0 + 2, -80)},
          {Seen(kA, kT0 + 3, -61)}},
         4,
         -80,
         -40,
         -60.333333333333336},
        {"no signal first, then one",
         {{Seen(kA, kT0, std::nullopt)}, {Seen(kA, kT0 + 1, -77)}},
         2,
         -77,
         -77,
         -77.0},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        testsupport::ScopedTempDir caseDir;
        {
            THistoryStoreOptions options;
            options.clock = &clock;
            TSqliteHistoryStore store((caseDir / kHistoryStoreFileName).string(), log.Callback(), options);
            for (auto batch : test.batches) store.SightingsRecorded(std::move(batch));
        }
        TSqliteHistoryReader reader((caseDir / kHistoryStoreFileName).string());
        const auto rows = reader.Minutes(kA, kT0, kT0 + kMinute);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].minuteMs, kT0);
        EXPECT_EQ(rows[0].spanMinutes, 1);
        EXPECT_EQ(rows[0].sightings, test.sightings);
        EXPECT_EQ(rows[0].rssiMin, test.rssiMin);
        EXPECT_EQ(rows[0].rssiMax, test.rssiMax);
        ASSERT_EQ(rows[0].rssiMean.has_value(), test.rssiMean.has_value());
        if (test.rssiMean) {
            EXPECT_DOUBLE_EQ(*rows[0].rssiMean, *test.rssiMean);
        }
    }
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(HistoryStoreTest, MinutesAreKeptPerMinuteLocationAndTransportInOrder) {
    Write({{Seen(kA, kT0 + kMinute, -60, "Hall"), Seen(kA, kT0 + kMinute - 1, -61, "Office"),
            Seen(kA, kT0 + kMinute + 2, -62, "Office", TTransport::LowEnergy), Seen(kB, kT0, -50)},
           {Seen(kA, kT0 + 3 * kMinute, -63, "Office")}});
    auto reader = Reader();
    const auto rows = reader.Minutes(kA, kT0 - kMinute, kT0 + 10 * kMinute);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].minuteMs, kT0);
    EXPECT_EQ(rows[0].location, "Office");
    EXPECT_EQ(rows[1].minuteMs, kT0 + kMinute);
    EXPECT_EQ(rows[2].minuteMs, kT0 + kMinute);
    EXPECT_NE(std::tie(rows[1].location, rows[1].transport), std::tie(rows[2].location, rows[2].transport));
    EXPECT_EQ(rows[3].minuteMs, kT0 + 3 * kMinute);
    // The range is half open and counts a minute by its start.
    EXPECT_EQ(reader.Minutes(kA, kT0 + kMinute, kT0 + 3 * kMinute).size(), 2u);
    EXPECT_EQ(reader.Minutes(kA, kT0 + 1, kT0 + kMinute + 1).size(), 2u);
    EXPECT_TRUE(reader.Minutes(kA, kT0 + 4 * kMinute, kT0 + 5 * kMinute).empty());
    // The widest range holds everything; its bounds do not overflow.
    EXPECT_EQ(reader.Minutes(kA, std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max())
                  .size(),
              4u);
    EXPECT_TRUE(reader.Minutes("(00:00:00:00:00:00)", 0, kT0 * 2).empty());
}

TEST_F(HistoryStoreTest, SummaryCountsMinutesAndKeepsLocationsInFirstSeenOrder) {
    Write({{Seen(kB, kT0, -50, "Office"), Seen(kB, kT0 + 1, -50, "Hall")},
           {Seen(kB, kT0 + 2 * kMinute, -50, "Yard", TTransport::LowEnergy),
            Seen(kA, kT0 + kMinute, -1, "Hall")},
           {Seen(kB, kT0 + 2 * kMinute + 1, -50, "Office")}});
    const auto summary = Reader().Summary();
    ASSERT_EQ(summary.size(), 2u);
    EXPECT_EQ(summary[0].address, kA);
    EXPECT_EQ(summary[0].minutesPresent, 1);
    EXPECT_THAT(summary[0].locations, ElementsAre("Hall"));
    EXPECT_EQ(summary[1].address, kB);
    EXPECT_EQ(summary[1].firstMinuteMs, kT0);
    EXPECT_EQ(summary[1].lastMinuteMs, kT0 + 2 * kMinute);
    EXPECT_EQ(summary[1].minutesPresent, 2);
    EXPECT_THAT(summary[1].locations, ElementsAre("Office", "Hall", "Yard"));
}

// The latest time is the newest sighting's; the signal and the response data are those of the
// newest sightings that carried them, across batches; an older batch arriving late changes nothing.
TEST_F(HistoryStoreTest, LatestKeepsTheNewestSignalAndInquiryResponse) {
    const std::string eirOld("\x02\x01\x06", 3), eirNew("\x05\x09QM\x00!", 6);
    const std::string kC = "(00:00:00:00:00:0C)";
    Write({{Seen(kA, kT0 + 10, -40, "Office", TTransport::Classic, eirNew),
            Seen(kA, kT0 + 5, -50, "Office", TTransport::Classic, eirOld), Seen(kA, kT0 + 20, -30)},
           {Seen(kA, kT0 + 1, -20, "Office", TTransport::Classic, eirOld)},
           {Seen(kB, kT0, std::nullopt, "Office", TTransport::Classic, eirOld)},
           {Seen(kC, kT0, -70)},
           {Seen(kC, kT0 + 30, std::nullopt)}});
    auto reader = Reader();
    struct TCase {
        std::string address;
        std::int64_t receivedMs;
        std::optional<std::int8_t> rssi;
        std::string eir;
    };
    for (const TCase& c : {TCase{kA, kT0 + 20, -30, eirNew}, TCase{kB, kT0, std::nullopt, eirOld},
                           TCase{kC, kT0 + 30, -70, ""}}) {
        const auto latest = reader.Latest(c.address);
        ASSERT_TRUE(latest) << c.address;
        EXPECT_EQ(latest->receivedMs, c.receivedMs) << c.address;
        EXPECT_EQ(latest->rssi, c.rssi) << c.address;
        EXPECT_EQ(latest->eir, c.eir) << c.address;
    }
    EXPECT_FALSE(reader.Latest("(00:00:00:00:00:00)"));
}

TEST_F(HistoryStoreTest, DeleteDevicesRemovesTheirHistoryAfterEarlierBatches) {
    auto store = Open();
    store->SightingsRecorded({Seen(kA, kT0, -40, "Office", TTransport::Classic, "x"), Seen(kB, kT0, -40)});
    store->DeleteDevices({kA});
    store->SightingsRecorded({Seen(kB, kT0 + kMinute, -40)});
    store->Flush();
    auto reader = Reader();
    EXPECT_TRUE(reader.Minutes(kA, 0, kT0 * 2).empty());
    EXPECT_FALSE(reader.Latest(kA));
    const auto summary = reader.Summary();
    ASSERT_EQ(summary.size(), 1u);
    EXPECT_EQ(summary[0].address, kB);
    EXPECT_EQ(summary[0].minutesPresent, 2);
}

TEST_F(HistoryStoreTest, OldMinutesAreRolledUpIntoHours) {
    const std::int64_t hour = kT0 - (kT0 % (60 * kMinute));
    TSettableClock clock(static_cast<std::int32_t>((hour + 40LL * 24 * 60 * kMinute) / 1000));
    THistoryStoreOptions options;
    options.clock = &clock;
    options.rollupRowsPerStep = 2;
    {
        auto store = Open(options);
        store->SightingsRecorded({Seen(kA, hour, -40), Seen(kA, hour + kMinute, -60),
                                  Seen(kA, hour + 2 * kMinute, std::nullopt),
                                  Seen(kA, hour + 61 * kMinute, -70), Seen(kA, clock.Now() * 1000LL, -10)});
    }
    // Each open writes and rolls one bounded step; three steps roll the four old rows.
    for (int step = 0; step < 3; ++step) {
        auto store = Open(options);
        store->SightingsRecorded({Seen(kB, clock.Now() * 1000LL, -10)});
    }
    auto reader = Reader();
    const auto rows = reader.Minutes(kA, 0, clock.Now() * 2000LL);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].minuteMs, hour);
    EXPECT_EQ(rows[0].spanMinutes, 60);
    EXPECT_EQ(rows[0].sightings, 3);
    EXPECT_EQ(rows[0].rssiMin, -60);
    EXPECT_EQ(rows[0].rssiMax, -40);
    EXPECT_DOUBLE_EQ(*rows[0].rssiMean, -50.0);
    EXPECT_EQ(rows[1].minuteMs, hour + 60 * kMinute);
    EXPECT_EQ(rows[1].spanMinutes, 60);
    EXPECT_EQ(rows[2].spanMinutes, 1);
    EXPECT_EQ(reader.Summary()[0].minutesPresent, 5);
}

TEST_F(HistoryStoreTest, NewStoreIsStampedWithTheSchemaVersion) {
    { std::ofstream(Path()).flush(); }  // an empty file is a database without tables
    Write({{Seen(kA, kT0, -40)}});
    TSqliteDatabase db(Path(), TSqliteDatabase::TMode::ReadOnly);
    EXPECT_EQ(db.QueryInt("PRAGMA user_version"), 2);
    EXPECT_EQ(db.QueryText("PRAGMA journal_mode"), "wal");
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(HistoryStoreTest, StoreOfVersionOneIsMigratedKeepingItsHistory) {
    {
        TSqliteDatabase db(Path(), TSqliteDatabase::TMode::ReadWriteCreate);
        db.Execute(
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
            " eir BLOB NOT NULL);"
            "INSERT INTO device VALUES(7, '" +
            kA +
            "'); INSERT INTO location VALUES(3, 'Hall');"
            "INSERT INTO minute VALUES(7, 1, " +
            std::to_string(kT0 / kMinute) +
            ", 3, 0, 2, 2, -100, -60, -40);"
            "INSERT INTO summary VALUES(7, " +
            std::to_string(kT0 / kMinute) + ", " + std::to_string(kT0 / kMinute) +
            ", 1); INSERT INTO summary_location VALUES(7, 0, 3);"
            "PRAGMA user_version = 1");
    }
    // A reader of the old version's store sees its history.
    EXPECT_EQ(Reader().Minutes(kA, 0, kT0 * 2).size(), 1u);
    Write({{Seen(kA, kT0, -50, "Hall"), Seen(kA, kT0 + kMinute, -50, "Yard")}});
    TSqliteDatabase db(Path(), TSqliteDatabase::TMode::ReadOnly);
    EXPECT_EQ(db.QueryInt("PRAGMA user_version"), 2);
    const auto rows = Reader().Minutes(kA, 0, kT0 * 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].sightings, 3);
    EXPECT_EQ(rows[0].rssiMin, -60);
    EXPECT_EQ(rows[1].location, "Yard");
    const auto summary = Reader().Summary();
    ASSERT_EQ(summary.size(), 1u);
    EXPECT_EQ(summary[0].minutesPresent, 2);
    EXPECT_THAT(summary[0].locations, ElementsAre("Hall", "Yard"));
    EXPECT_TRUE(log.Lines().empty());
}

// The newest minutes are written to a table of their own and settled into the minute rows every
// few minutes; the reader sees one history either way.
TEST_F(HistoryStoreTest, RecentMinutesSettleIntoTheMinuteRowsWithoutDuplicates) {
    auto store = Open();
    std::vector<TRecordedSighting> minutes;
    for (int minute = 0; minute < 12; ++minute) minutes.push_back(Seen(kA, kT0 + minute * kMinute, -40));
    store->SightingsRecorded(std::move(minutes));
    store->Flush();  // written, then settled: the first rollup tick comes at once
    {
        TSqliteDatabase db(Path(), TSqliteDatabase::TMode::ReadOnly);
        EXPECT_EQ(db.QueryInt("SELECT min(minute) FROM recent"), kT0 / kMinute + 7);
        EXPECT_EQ(db.QueryInt("SELECT count(*) FROM minute"), 7);
    }
    // Late sightings of a settled minute and of a recent one join their rows.
    store->SightingsRecorded({Seen(kA, kT0 + 1, -60), Seen(kA, kT0 + 11 * kMinute + 1, -60)});
    store->Flush();
    auto reader = Reader();
    const auto rows = reader.Minutes(kA, 0, kT0 * 2);
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[0].sightings, 2);
    EXPECT_EQ(rows[0].rssiMin, -60);
    EXPECT_EQ(rows[11].sightings, 2);
    for (int minute = 1; minute < 11; ++minute) EXPECT_EQ(rows[minute].sightings, 1);
    EXPECT_EQ(reader.Summary()[0].minutesPresent, 12);
    store->DeleteDevices({kA});
    store->Flush();
    EXPECT_TRUE(reader.Minutes(kA, 0, kT0 * 2).empty());
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(HistoryStoreTest, StoreOfANewerVersionIsLeftUnchanged) {
    {
        TSqliteDatabase db(Path(), TSqliteDatabase::TMode::ReadWriteCreate);
        db.Execute("CREATE TABLE future(x); PRAGMA user_version = 7");
    }
    const std::string before = FileBytes(Path());
    Write({{Seen(kA, kT0, -40)}});
    EXPECT_EQ(FileBytes(Path()), before);
    EXPECT_THAT(log.Lines(), ElementsAre(HasSubstr("newer version")));
}

// A store of the current version whose minute rows' b-tree page has its cell pointers overwritten:
// the header and the schema still read, PRAGMA quick_check reports the damage.
void WriteStoreFailingItsQuickCheck(const std::string& path) {
    std::int64_t page = 0, pageSize = 0;
    {
        TSqliteDatabase db(path, TSqliteDatabase::TMode::ReadWriteCreate);
        MigrateHistorySchema(db);
        db.Execute(
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 99)"
            " INSERT INTO minute SELECT 1, 1, i, 1, 0, 1, 1, -40, -40, -40 FROM n");
        page = db.QueryInt("SELECT rootpage FROM sqlite_schema WHERE name = 'minute'");
        pageSize = db.QueryInt("PRAGMA page_size");
    }
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp((page - 1) * pageSize + 8);  // past the leaf page's header: its cell pointers
    file << std::string(64, '\xff');
}

TEST_F(HistoryStoreTest, DamagedStoreIsKeptAsideAndAFreshOneStarts) {
    struct TCase {
        const char* name;
        std::function<void(const std::string&)> make;
    };
    const std::vector<TCase> cases = {
        {"not a database",
         [](const std::string& path) { std::ofstream(path, std::ios::binary) << std::string(4096, 'Q'); }},
        {"fails its quick check", WriteStoreFailingItsQuickCheck},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        testsupport::ScopedTempDir caseDir;
        const std::string path = (caseDir / kHistoryStoreFileName).string();
        test.make(path);
        const std::string damaged = FileBytes(path);
        TLog caseLog;
        {
            THistoryStoreOptions options;
            options.clock = &clock;
            TSqliteHistoryStore store(path, caseLog.Callback(), options);
            store.SightingsRecorded({Seen(kA, kT0, -40)});
        }
        const auto lines = caseLog.Lines();
        ASSERT_THAT(lines, ElementsAre(HasSubstr("History store damaged: kept as " + path + ".damaged-")));
        const std::string kept = lines[0].substr(lines[0].find(path), path.size() + 25);
        EXPECT_EQ(FileBytes(kept), damaged);
        TSqliteDatabase fresh(path, TSqliteDatabase::TMode::ReadOnly);
        EXPECT_EQ(fresh.QueryText("PRAGMA quick_check"), "ok");
        EXPECT_EQ(TSqliteHistoryReader(path).Minutes(kA, 0, kT0 * 2).size(), 1u);
    }
}

TEST_F(HistoryStoreTest, WriteFailureKeepsABoundedBufferAndCountsWhatItDropped) {
    auto& vfs = qmtest::FailingVfs();
    const std::vector<std::pair<const char*, int>> cases = {{"disk full", SQLITE_FULL},
                                                            {"write error", SQLITE_IOERR_WRITE}};
    for (const auto& [name, code] : cases) {
        SCOPED_TRACE(name);
        testsupport::ScopedTempDir caseDir;
        const std::string path = (caseDir / kHistoryStoreFileName).string();
        TLog caseLog;
        THistoryStoreOptions options;
        options.vfsName = qmtest::kFailingVfsName;
        options.bufferSightings = 3;
        options.coalesceMs = 0;
        options.retryMs = 10;
        options.clock = &clock;
        auto store = std::make_unique<TSqliteHistoryStore>(path, caseLog.Callback(), options);
        store->SightingsRecorded({Seen(kA, kT0, -40)});
        store->Flush();
        vfs.writeError = code;
        store->SightingsRecorded({Seen(kA, kT0 + 1 * kMinute, -40), Seen(kA, kT0 + 2 * kMinute, -40)});
        store->Flush();
        store->SightingsRecorded({Seen(kA, kT0 + 3 * kMinute, -40), Seen(kA, kT0 + 4 * kMinute, -40)});
        store->Flush();
        EXPECT_THAT(caseLog.Lines(),
                    ElementsAre(HasSubstr("History store stopped writing: keeping up to 3 sightings")));
        vfs.writeError = SQLITE_OK;
        store->SightingsRecorded({Seen(kA, kT0 + 5 * kMinute, -40)});
        store->Flush();
        EXPECT_THAT(caseLog.Lines(),
                    ElementsAre(HasSubstr("stopped writing"),
                                "History store writing again; 1 sightings had to be dropped meanwhile"));
        store.reset();
        std::vector<std::int64_t> minutes;
        for (const auto& row : TSqliteHistoryReader(path).Minutes(kA, 0, kT0 * 2))
            minutes.push_back((row.minuteMs - kT0) / kMinute);
        EXPECT_THAT(minutes, ElementsAre(0, 2, 3, 4, 5));
    }
}

TEST_F(HistoryStoreTest, DamageFoundWhileWritingKeepsTheStoreAsideAndWritesAfresh) {
    auto& vfs = qmtest::FailingVfs();
    THistoryStoreOptions options;
    options.vfsName = qmtest::kFailingVfsName;
    auto store = Open(options);
    store->SightingsRecorded({Seen(kA, kT0, -40)});
    store->Flush();
    vfs.writeFailuresLeft = 1;
    vfs.writeError = SQLITE_CORRUPT;
    store->SightingsRecorded({Seen(kB, kT0, -50)});
    store->Flush();
    store->SightingsRecorded({Seen(kB, kT0 + kMinute, -50)});
    store.reset();
    const auto lines = log.Lines();
    ASSERT_THAT(lines, ElementsAre(HasSubstr("History store damaged: kept as " + Path() + ".damaged-")));
    const std::string kept = lines[0].substr(lines[0].find(Path()), Path().size() + 25);
    EXPECT_EQ(TSqliteHistoryReader(kept).Minutes(kA, 0, kT0 * 2).size(), 1u);
    auto reader = Reader();
    EXPECT_TRUE(reader.Minutes(kA, 0, kT0 * 2).empty());
    EXPECT_EQ(reader.Minutes(kB, 0, kT0 * 2).size(), 2u);
}

TEST_F(HistoryStoreTest, StoreThatRefusesWritingTurnsTheHistoryOffOnce) {
    auto& vfs = qmtest::FailingVfs();
    THistoryStoreOptions options;
    options.vfsName = qmtest::kFailingVfsName;
    auto store = Open(options);
    store->SightingsRecorded({Seen(kA, kT0, -40)});
    store->Flush();
    vfs.writeError = SQLITE_READONLY;
    for (int i = 1; i <= 3; ++i) {
        store->SightingsRecorded({Seen(kA, kT0 + i * kMinute, -40)});
        store->Flush();
    }
    vfs.writeError = SQLITE_OK;
    store->SightingsRecorded({Seen(kA, kT0 + 4 * kMinute, -40)});
    store.reset();
    EXPECT_THAT(log.Lines(),
                ElementsAre(HasSubstr("History store refuses writing at " + Path() + ": history is off")));
    EXPECT_EQ(Reader().Minutes(kA, 0, kT0 * 2).size(), 1u);
}

// The writer thread is held in the log callback as it says the history is off; Flush must not
// wait for it.
TEST_F(HistoryStoreTest, FlushReturnsAtOnceWhenTheHistoryIsOff) {
    auto& vfs = qmtest::FailingVfs();
    struct TCase {
        const char* name;
        std::function<void()> arrange;
    };
    const std::vector<TCase> cases = {
        {"the directory refuses files", [&] { vfs.refuseOpen = true; }},
        {"the store is of a newer version",
         [&] {
             TSqliteDatabase db(Path(), TSqliteDatabase::TMode::ReadWriteCreate);
             db.Execute("PRAGMA user_version = 9");
         }},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        test.arrange();
        std::promise<void> logging, release;
        std::shared_future<void> released = release.get_future().share();
        THistoryStoreOptions options;
        options.vfsName = qmtest::kFailingVfsName;
        options.clock = &clock;
        TSqliteHistoryStore store(
            Path(),
            [&](const std::string&) {
                logging.set_value();
                released.wait();
            },
            options);
        logging.get_future().wait();
        auto flushed = std::async(std::launch::async, [&] {
            store.SightingsRecorded({Seen(kA, kT0, -40)});
            store.Flush();
        });
        EXPECT_EQ(flushed.wait_for(std::chrono::seconds(10)), std::future_status::ready);
        release.set_value();
        flushed.wait();
        vfs.refuseOpen = false;
    }
}

TEST_F(HistoryStoreTest, DirectoryThatRefusesFilesTurnsTheHistoryOff) {
    auto& vfs = qmtest::FailingVfs();
    struct TCase {
        const char* name;
        std::function<std::string()> path;
        bool refuse;
    };
    const std::vector<TCase> cases = {
        {"under a regular file", [&] { return dir.write("plain", "x").string() + "/Quillmark.sqlite"; },
         false},
        {"the VFS refuses to open", [&] { return Path(); }, true},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        TLog caseLog;
        vfs.refuseOpen = test.refuse;
        THistoryStoreOptions options;
        options.vfsName = qmtest::kFailingVfsName;
        options.clock = &clock;
        {
            TSqliteHistoryStore store(test.path(), caseLog.Callback(), options);
            store.SightingsRecorded({Seen(kA, kT0, -40)});
            store.DeleteDevices({kA});
            store.Flush();
        }
        vfs.refuseOpen = false;
        EXPECT_THAT(caseLog.Lines(), ElementsAre(HasSubstr("History store cannot be opened at")));
    }
}

TEST_F(HistoryStoreTest, TwoStoresWritingOneFileLoseNothing) {
    constexpr int kBatches = 40;
    auto first = Open();
    auto second = Open();
    std::thread a([&] {
        for (int i = 0; i < kBatches; ++i) first->SightingsRecorded({Seen(kA, kT0 + i * kMinute, -40)});
    });
    std::thread b([&] {
        for (int i = 0; i < kBatches; ++i) second->SightingsRecorded({Seen(kA, kT0 + i * kMinute + 1, -60)});
    });
    a.join();
    b.join();
    first.reset();
    second.reset();
    const auto rows = Reader().Minutes(kA, 0, kT0 * 2);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kBatches));
    for (const auto& row : rows) EXPECT_EQ(row.sightings, 2);
    EXPECT_EQ(Reader().Summary()[0].minutesPresent, kBatches);
    EXPECT_TRUE(log.Lines().empty());
}

// A kill -9 loses at most what was not yet written: a child process writes and flushes batch A,
// says so through a pipe and keeps writing until it is killed.
TEST_F(HistoryStoreTest, KilledWriterLeavesAnIntactStoreWithWhatItHadWritten) {
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipeEnds[0]);
        THistoryStoreOptions options;
        options.clock = &clock;
        TSqliteHistoryStore store(
            Path(), [](const std::string&) {}, options);
        std::vector<TRecordedSighting> batchA;
        for (int minute = 0; minute < 10; ++minute) batchA.push_back(Seen(kA, kT0 + minute * kMinute, -40));
        store.SightingsRecorded(std::move(batchA));
        store.Flush();
        if (write(pipeEnds[1], "A", 1) != 1) _exit(1);
        for (int i = 0; i < 30000; ++i) {
            store.SightingsRecorded({Seen(kB, kT0 + i * 1000, -50)});
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        _exit(1);
    }
    close(pipeEnds[1]);
    char said = 0;
    const bool flushed = read(pipeEnds[0], &said, 1) == 1;
    close(pipeEnds[0]);
    // Long enough for the child's next commit (once a second), so that the kill may find it writing.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(flushed);
    ASSERT_TRUE(WIFSIGNALED(status));
    {
        TSqliteDatabase db(Path(), TSqliteDatabase::TMode::ReadWriteCreate);
        EXPECT_EQ(db.QueryText("PRAGMA integrity_check"), "ok");
    }
    EXPECT_EQ(Reader().Minutes(kA, 0, kT0 * 2).size(), 10u);
}

TEST(HistoryStorePath, SitsBesideTheSessionFile) {
    EXPECT_EQ(HistoryStorePath("/home/op/Quillmark.dat"), "/home/op/Quillmark.sqlite");
    EXPECT_EQ(HistoryStorePath("Quillmark.dat"), "Quillmark.sqlite");
    EXPECT_EQ(HistoryStorePath("/Quillmark.dat"), "/Quillmark.sqlite");
}

}  // namespace
