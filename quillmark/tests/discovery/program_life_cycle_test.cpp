// The program's life cycle as both front ends drive it: start-up up to the first log line, the
// discovery thread between Resume and Stop, and the shut-down order. The test's thread plays the
// main thread and serves the hand-offs.

#include <gtest/gtest.h>
#include <zemautils/trace.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "quillmark/base/Error.h"
#include "quillmark/core/ProgramLifeCycle.h"
#include "quillmark/core/SessionFile.h"
#include "quillmark/core/TimeText.h"
#include "support/DiscoveryHarness.h"
#include "testsupport/ScopedTempDir.h"

namespace {

using qmtest::kStartTime;
using qmtest::TLoggingPass;

constexpr const char* kTwoDevices = R"({"devices": [
  {"address": "00:00:00:00:00:0A", "name": "Alpha"},
  {"address": "00:00:00:00:00:0B", "name": "Beta"}]})";

// The main thread's side: a hand-off queue, and the log lines the view was shown.
class TFrontEnd : public qm::IMainThreadBridge, public qm::ILogView {
public:
    void Synchronize(const std::function<void()>& work) override { queue.Synchronize(work); }
    void PostListChanged(int) override {}
    void Post(std::function<void()> work) override { queue.Post(std::move(work)); }
    void DiscoveryEnded() override { queue.Wake(); }
    void ServeUntil(const std::function<bool()>& done) override { queue.ServeUntil(done); }
    void AddLogLine(const std::string& text) override { program->AddLogLine(text); }
    void StartScanIndicator() override {}
    void LogLineAdded(const std::string& line) override { shown.push_back(line); }

    qm::THandOffQueue queue;
    qm::TProgramLifeCycle* program = nullptr;
    std::vector<std::string> shown;
};

class TSilentSound : public qm::IFoundSound {
public:
    void Play(const std::string&) override {}
};

class ProgramLifeCycleTest : public testing::Test {
protected:
    // The trace a start opened ends with the test, so the next start in the process opens its own.
    void TearDown() override { TraceStop(); }
    std::unique_ptr<qm::TProgramLifeCycle> Start(qm::TInquiryPassFactory makePass,
                                                 qm::THistoryStoreFactory openHistory = {}) {
        auto program = std::make_unique<qm::TProgramLifeCycle>(qm::TProgramParts{
            path, std::move(makePass), std::move(openHistory), {}, frontEnd, sound, frontEnd, clock, sleep});
        frontEnd.program = program.get();
        return program;
    }
    std::unique_ptr<qm::TProgramLifeCycle> StartOnRadio(const char* scenario,
                                                        qm::THistoryStoreFactory openHistory = {}) {
        radio = std::make_unique<qmtest::TEmulatedPlatform>(scenario, qmtest::ShortLimits(), &clock);
        return Start(
            [this](qm::TSessionState& session, qm::ISightingSink* sink) {
                return std::make_unique<qm::TBluetoothInquiryPass>(radio->Platform(), session, sink);
            },
            std::move(openHistory));
    }
    std::deque<std::string> SavedLog() { return qm::LoadSession(path, clock)->Log(); }

    testsupport::ScopedTempDir dir{testsupport::ScopedTempDir::Chdir::Yes};
    std::string path = (dir / "Quillmark.dat").string();
    qm::TSettableClock clock{kStartTime};
    qmtest::TClockSleep sleep{clock};
    TSilentSound sound;
    TFrontEnd frontEnd;
    std::unique_ptr<qmtest::TEmulatedPlatform> radio;
};

TEST_F(ProgramLifeCycleTest, FirstStartSavesOneLineEndingInTheBlankOfTheEmptyLocation) {
    const auto program = StartOnRadio(kTwoDevices);
    const std::string line = qm::FormatTime(kStartTime) + ": Scan started in location ";
    EXPECT_EQ(SavedLog(), std::deque<std::string>{line});
    EXPECT_EQ(frontEnd.shown, std::vector<std::string>{line});
}

TEST_F(ProgramLifeCycleTest, RestartLogsTheStoredLocationAndStopEndsWithScanFinished) {
    {
        const auto program = StartOnRadio(kTwoDevices);
        program->Session().SetCurrentLocation("Office");
        program->Stop();
    }
    const auto program = StartOnRadio(kTwoDevices);
    const std::deque<std::string> log = SavedLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_TRUE(log[0].ends_with(": Scan started in location Office")) << log[0];
    EXPECT_TRUE(log[1].ends_with(": Scan finished")) << log[1];
}

TEST_F(ProgramLifeCycleTest, StopDuringPassesWaitsForTheThreadAndLogsScanFinishedLast) {
    const auto program = StartOnRadio(kTwoDevices);
    std::atomic<int> pauses{0};
    sleep.onPause = [&](int) { ++pauses; };
    program->Resume();
    frontEnd.ServeUntil([&] { return pauses.load() >= 2; });
    program->Stop();

    const std::deque<std::string> log = SavedLog();
    ASSERT_GE(log.size(), 4u);
    EXPECT_TRUE(log.front().ends_with(": Scan finished")) << log.front();
    EXPECT_TRUE(log[1].ends_with("Found new device: (00:00:00:00:00:0B)")) << log[1];
    EXPECT_EQ(qm::LoadSession(path, clock)->DeviceList().Count(), 2);
}

// A history store that keeps what it was handed and says one line from a thread of its own.
class TFakeHistoryStore : public qm::IHistoryStore {
public:
    explicit TFakeHistoryStore(qm::THistoryLog log) : log_(std::move(log)) {
        std::thread([this] { log_("History kept in a fake store"); }).join();
    }
    void SightingsRecorded(std::vector<qm::TRecordedSighting> batch) override {
        const std::lock_guard lock(mutex);
        batches.push_back(std::move(batch));
    }
    void DeleteDevices(std::vector<std::string>) override {}
    void Flush() override {}

    std::mutex mutex;
    std::vector<std::vector<qm::TRecordedSighting>> batches;

private:
    qm::THistoryLog log_;
};

// Each pass hands its sightings to the store as one batch, with the location and the radio's time;
// the store's line reaches the log on the main thread.
TEST_F(ProgramLifeCycleTest, PassesHandTheirSightingsToTheHistoryStore) {
    TFakeHistoryStore* store = nullptr;
    const auto program = StartOnRadio(kTwoDevices, [&](const std::string& sessionPath, qm::THistoryLog log) {
        EXPECT_EQ(sessionPath, path);
        auto made = std::make_unique<TFakeHistoryStore>(std::move(log));
        store = made.get();
        return made;
    });
    program->Session().SetCurrentLocation("Lab");
    std::atomic<int> pauses{0};
    sleep.onPause = [&](int) { ++pauses; };
    program->Resume();
    frontEnd.ServeUntil([&] { return pauses.load() >= 2; });
    program->Stop();

    const std::deque<std::string> log = SavedLog();
    EXPECT_TRUE(std::ranges::any_of(log, [](const std::string& line) {
        return line.ends_with(": History kept in a fake store");
    }));
    const std::lock_guard lock(store->mutex);
    ASSERT_GE(store->batches.size(), 1u);
    const auto& first = store->batches.front();
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].sighting.address, "(00:00:00:00:00:0A)");
    EXPECT_EQ(first[1].sighting.address, "(00:00:00:00:00:0B)");
    EXPECT_EQ(first[0].location, "Lab");
    EXPECT_GE(first[0].sighting.receivedMs, std::int64_t{kStartTime} * 1000);
}

TEST_F(ProgramLifeCycleTest, DestructionWithoutStopServesThePendingHandOffAndSavesNothingMore) {
    auto* pass = new TLoggingPass;
    auto program = Start(
        [pass](qm::TSessionState&, qm::ISightingSink*) { return std::unique_ptr<qm::IInquiryPass>(pass); });
    program->Resume();
    while (!pass->started.load()) std::this_thread::yield();
    program.reset();
    const std::deque<std::string> log = SavedLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_TRUE(log.front().ends_with(": pass")) << log.front();
}

TEST_F(ProgramLifeCycleTest, UnwritableSessionFileFailsTheStart) {
    path = (dir / "missing" / "Quillmark.dat").string();
    try {
        StartOnRadio(kTwoDevices);
        FAIL() << "the start did not fail";
    } catch (const qm::TError& error) {
        EXPECT_EQ(error.Message(), "Unable to create file: " + path);
    }
}

TEST_F(ProgramLifeCycleTest, TraceConfigurationIsReadFromTheCurrentDirectory) {
    dir.write("trace.conf", "TraceFile = mytrace.log\nBluetooth = 100\n");
    const auto program = StartOnRadio(kTwoDevices);
    program->Resume();
    program->Stop();
    EXPECT_TRUE(std::filesystem::exists(dir / "mytrace.log"));
}

}  // namespace
