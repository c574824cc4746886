#pragma once
// The history store on SQLite: takes batches without blocking and writes them on its writer
// thread ("qm-history"), which owns the write connection. Faults never reach the caller: a
// damaged file (at open or while writing) is kept aside and a fresh store started, a store of a
// newer version is left unchanged, a directory or file that refuses writing turns the history off
// (after which nothing waits for it), and while writing fails for a passing reason (a full disk,
// an I/O error) the sightings wait in a bounded buffer. Each of these is said once through the
// log callback.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <variant>

#include "quillmark/core/Clock.h"
#include "quillmark/core/HistoryStore.h"

namespace qm {

class TSqliteDatabase;
class TError;
class TSqliteError;
class THistoryWriter;

struct THistoryStoreOptions {
    std::string vfsName;                           // empty: SQLite's default VFS
    std::int64_t coalesceMs = 1000;                // a stream's batches within this are one transaction
    std::int64_t retryMs = 10000;                  // how often writing is tried again after a failure
    std::size_t bufferSightings = 100000;          // kept while writing fails; the oldest go first
    std::int64_t rollupAgeMinutes = 30 * 24 * 60;  // minute rows older than this become hour rows
    int rollupRowsPerStep = 1000;
    const IClock* clock = nullptr;  // for the rollup's age; the system clock when null
};

using THistoryLog = std::function<void(const std::string&)>;

class TSqliteHistoryStore : public IHistoryStore {
public:
    TSqliteHistoryStore(std::string storePath, THistoryLog log, THistoryStoreOptions options = {});
    ~TSqliteHistoryStore() override;
    TSqliteHistoryStore(const TSqliteHistoryStore&) = delete;
    TSqliteHistoryStore& operator=(const TSqliteHistoryStore&) = delete;

    void SightingsRecorded(std::vector<TRecordedSighting> batch) override;
    void DeleteDevices(std::vector<std::string> addresses) override;
    void Flush() override;

private:
    using TItem = std::variant<std::vector<TRecordedSighting>, std::vector<std::string>>;

    void Run();
    void Open();
    void Connect();
    void Prepare();  // sets the journal up, migrates the schema, readies the writer
    void StartAfresh();
    void TurnOff(const std::string& line);
    std::string OffLine(const TError& error) const;
    bool WriteItems();
    bool WriteFailed(const TSqliteError& error);
    void Trim();
    void RollupIfDue();
    void Enqueue(TItem item);

    const std::string path_;
    const THistoryLog log_;
    const THistoryStoreOptions options_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::deque<TItem> queue_;
    std::uint64_t submitted_ = 0;
    std::uint64_t handled_ = 0;
    bool flushing_ = false;
    bool stopping_ = false;
    bool off_ = false;  // the history is off for good: nothing is taken, nothing waited for

    // The writer thread's own.
    std::deque<TItem> pending_;
    std::unique_ptr<TSqliteDatabase> db_;
    std::unique_ptr<THistoryWriter> writer_;
    bool failing_ = false;
    bool startedAfresh_ = false;
    std::uint64_t dropped_ = 0;
    std::int64_t lastRollupMs_ = 0;

    std::thread thread_;
};

// The store a front end opens beside its session file; log lines go to the program log.
std::unique_ptr<IHistoryStore> OpenHistoryStore(const std::string& sessionFilePath, THistoryLog log);

}  // namespace qm
