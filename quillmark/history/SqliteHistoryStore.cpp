#include "quillmark/history/SqliteHistoryStore.h"

#include <pthread.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "quillmark/history/HistoryPath.h"
#include "quillmark/history/HistorySchema.h"
#include "quillmark/history/HistoryWriter.h"
#include "quillmark/history/SqliteDatabase.h"
#include "quillmark/history/SqliteError.h"
#include "quillmark/history/SqliteTransaction.h"

namespace qm {
namespace {

std::int64_t SteadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// An error's message on one line, as a log line shows it: "sentence: SQLite's reason".
std::string OneLine(const TError& error) {
    std::string text = error.Message();
    for (std::size_t at = text.find("\n\nError: "); at != std::string::npos; at = text.find("\n\nError: "))
        text.replace(at, 9, ": ");
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

std::string UtcStamp(std::int64_t seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm utc{};
    gmtime_r(&time, &utc);
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d%02dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

std::size_t SightingsIn(const std::variant<std::vector<TRecordedSighting>, std::vector<std::string>>& item) {
    const auto* batch = std::get_if<std::vector<TRecordedSighting>>(&item);
    return batch != nullptr ? batch->size() : 0;
}

// The newest minutes stay in the table a pass writes to; older ones are settled in batches of as
// many minutes.
constexpr std::int64_t kRecentMinutes = 5;

bool IsDamage(const TSqliteError& error) {
    return error.PrimaryCode() == SQLITE_NOTADB || error.PrimaryCode() == SQLITE_CORRUPT;
}

// Failures that trying again does not mend: the file or its directory refuses writing.
bool IsRefusal(const TSqliteError& error) {
    const int code = error.PrimaryCode();
    return code == SQLITE_READONLY || code == SQLITE_PERM || code == SQLITE_AUTH;
}

// "<path>.damaged-<UTC time>", with a counter when a file of that name is there already.
std::string KeptAsideName(const std::string& path) {
    const std::string base = path + ".damaged-" + UtcStamp(std::time(nullptr));
    std::string name = base;
    for (int n = 2; std::filesystem::exists(name); ++n) name = base + "-" + std::to_string(n);
    return name;
}

}  // namespace

TSqliteHistoryStore::TSqliteHistoryStore(std::string storePath, THistoryLog log, THistoryStoreOptions options)
    : path_(std::move(storePath)), log_(std::move(log)), options_(std::move(options)) {
    thread_ = std::thread([this] { Run(); });
}

TSqliteHistoryStore::~TSqliteHistoryStore() {
    Flush();
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void TSqliteHistoryStore::Enqueue(TItem item) {
    {
        std::lock_guard lock(mutex_);
        if (off_) return;
        queue_.push_back(std::move(item));
        ++submitted_;
    }
    wake_.notify_all();
}

void TSqliteHistoryStore::SightingsRecorded(std::vector<TRecordedSighting> batch) {
    if (!batch.empty()) Enqueue(std::move(batch));
}

void TSqliteHistoryStore::DeleteDevices(std::vector<std::string> addresses) {
    if (!addresses.empty()) Enqueue(std::move(addresses));
}

void TSqliteHistoryStore::Flush() {
    std::unique_lock lock(mutex_);
    if (off_) return;
    const std::uint64_t target = submitted_;
    flushing_ = true;
    wake_.notify_all();
    done_.wait(lock, [&] { return off_ || handled_ >= target; });
    flushing_ = false;
}

// Closes the store for good: what is queued is dropped, and whoever waits for it returns at once.
void TSqliteHistoryStore::TurnOff(const std::string& line) {
    writer_.reset();
    db_.reset();
    pending_.clear();
    {
        std::lock_guard lock(mutex_);
        off_ = true;
        queue_.clear();
        handled_ = submitted_;
    }
    done_.notify_all();
    log_(line);
}

std::string TSqliteHistoryStore::OffLine(const TError& error) const {
    return "History store cannot be opened at " + path_ + ": history is off. " + OneLine(error);
}

// A store that cannot be opened where it should be turns the history off, as does one of a newer
// version; one that is damaged is kept aside under a new name and a fresh one is started.
void TSqliteHistoryStore::Open() {
    try {
        Connect();
        const std::int64_t version = HistorySchemaVersion(*db_);
        if (version > kHistorySchemaVersion)
            return TurnOff("History store was written by a newer version of the program (schema " +
                           std::to_string(version) + "): left unchanged, history is not recorded");
        // Checked before anything is written, so that a damaged file is kept as it was found.
        if (db_->QueryText("PRAGMA quick_check") == "ok") return Prepare();
    } catch (const TSqliteError& error) {
        if (!IsDamage(error)) return TurnOff(OffLine(error));
    }
    StartAfresh();
}

// Once per store: a second damage says the disk or another program spoils every file.
void TSqliteHistoryStore::StartAfresh() {
    if (startedAfresh_) return TurnOff("History store damaged again at " + path_ + ": history is off");
    startedAfresh_ = true;
    writer_.reset();
    db_.reset();
    const std::string kept = KeptAsideName(path_);
    std::rename(path_.c_str(), kept.c_str());
    std::remove((path_ + "-wal").c_str());
    std::remove((path_ + "-shm").c_str());
    try {
        Connect();
        Prepare();
        log_("History store damaged: kept as " + kept + " and started afresh");
    } catch (const TError& error) {
        TurnOff(OffLine(error));
    }
}

// WAL with synchronous=NORMAL: a commit is appended to the write-ahead log and only a checkpoint
// waits for the disk, so a crash or kill -9 loses at most the transactions not yet in the log (at
// most the last second's batch) and never damages the database; a power loss may also lose the
// last commits, never the store.
void TSqliteHistoryStore::Prepare() {
    db_->Execute("PRAGMA journal_mode = WAL");
    db_->Execute("PRAGMA synchronous = NORMAL");
    MigrateHistorySchema(*db_);
    writer_ = std::make_unique<THistoryWriter>(*db_);
}

void TSqliteHistoryStore::Connect() {
    db_ = std::make_unique<TSqliteDatabase>(path_, TSqliteDatabase::TMode::ReadWriteCreate, options_.vfsName);
}

void TSqliteHistoryStore::Trim() {
    std::size_t held = 0;
    for (const TItem& item : pending_) held += SightingsIn(item);
    while (held > options_.bufferSightings && !pending_.empty()) {
        auto* batch = std::get_if<std::vector<TRecordedSighting>>(&pending_.front());
        if (batch == nullptr) {
            // A deletion stays: it is small, and dropping it would keep what the operator deleted.
            pending_.push_back(std::move(pending_.front()));
            pending_.pop_front();
            continue;
        }
        const std::size_t drop = std::min(batch->size(), held - options_.bufferSightings);
        batch->erase(batch->begin(), batch->begin() + static_cast<std::ptrdiff_t>(drop));
        dropped_ += drop;
        held -= drop;
        if (batch->empty()) pending_.pop_front();
    }
}

bool TSqliteHistoryStore::WriteItems() {
    try {
        TSqliteTransaction transaction(*db_);
        for (const TItem& item : pending_) {
            if (const auto* batch = std::get_if<std::vector<TRecordedSighting>>(&item)) {
                writer_->WriteBatch(*batch);
            } else {
                writer_->DeleteDevices(std::get<std::vector<std::string>>(item));
            }
        }
        transaction.Commit();
    } catch (const TSqliteError& error) {
        return WriteFailed(error);
    }
    pending_.clear();
    if (failing_) {
        log_("History store writing again; " + std::to_string(dropped_) +
             " sightings had to be dropped meanwhile");
        failing_ = false;
        dropped_ = 0;
    }
    return true;
}

// A damaged store is started afresh and the items written there; a refusal turns the history off;
// anything else (a full disk, a write error, a lock held too long) may pass, so the items wait.
bool TSqliteHistoryStore::WriteFailed(const TSqliteError& error) {
    writer_->Forget();
    if (IsDamage(error)) {
        StartAfresh();
        return writer_ != nullptr && WriteItems();
    }
    if (IsRefusal(error)) {
        TurnOff("History store refuses writing at " + path_ + ": history is off. " + OneLine(error));
        return false;
    }
    if (!failing_) {
        log_("History store stopped writing: keeping up to " + std::to_string(options_.bufferSightings) +
             " sightings until it can write again. " + OneLine(error));
        failing_ = true;
    }
    return false;
}

void TSqliteHistoryStore::Run() {
    pthread_setname_np(pthread_self(), "qm-history");
    Open();
    std::int64_t lastWriteMs = 0;
    std::unique_lock lock(mutex_);
    while (!off_) {
        const auto due = [&] { return stopping_ || flushing_ || !queue_.empty() || failing_; };
        if (failing_) {
            wake_.wait_for(lock, std::chrono::milliseconds(options_.retryMs),
                           [&] { return stopping_ || flushing_; });
        } else {
            wake_.wait(lock, due);
        }
        if (!queue_.empty() && !flushing_ && !stopping_) {
            const auto wait = std::chrono::milliseconds(
                std::max<std::int64_t>(0, lastWriteMs + options_.coalesceMs - SteadyMs()));
            wake_.wait_for(lock, wait, [&] { return stopping_ || flushing_; });
        }
        const std::uint64_t taken = submitted_;
        while (!queue_.empty()) {
            pending_.push_back(std::move(queue_.front()));
            queue_.pop_front();
        }
        lock.unlock();
        if (!pending_.empty()) {
            if (!WriteItems()) Trim();
            lastWriteMs = SteadyMs();
            if (writer_ != nullptr) RollupIfDue();
        }
        lock.lock();
        if (off_) break;
        handled_ = taken;
        done_.notify_all();
        if (stopping_ && queue_.empty()) break;
    }
}

// At most once a second, each in a transaction of its own: the recent minutes settled into the
// minute rows (every few minutes), and one bounded step of the rollup.
void TSqliteHistoryStore::RollupIfDue() {
    if (failing_ || SteadyMs() - lastRollupMs_ < 1000) return;
    lastRollupMs_ = SteadyMs();
    const IClock& clock = options_.clock != nullptr ? *options_.clock : SystemClock();
    const std::int64_t cutoff = std::int64_t{clock.Now()} / 60 - options_.rollupAgeMinutes;
    try {
        {
            TSqliteTransaction transaction(*db_);
            writer_->SettleRecent(kRecentMinutes);
            transaction.Commit();
        }
        TSqliteTransaction transaction(*db_);
        writer_->RollupStep(cutoff, options_.rollupRowsPerStep);
        transaction.Commit();
    } catch (const TSqliteError&) {
        writer_->Forget();
        // The next batch's write says whether the store is failing.
    }
}

std::unique_ptr<IHistoryStore> OpenHistoryStore(const std::string& sessionFilePath, THistoryLog log) {
    return std::make_unique<TSqliteHistoryStore>(HistoryStorePath(sessionFilePath), std::move(log));
}

}  // namespace qm
