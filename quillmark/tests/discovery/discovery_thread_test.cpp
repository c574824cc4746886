// The discovery thread over the emulated radio: its loop, pauses, hand-offs and error path. The
// test's own thread plays the main thread and serves the hand-offs.

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>
#include <sstream>

#include "quillmark/core/DiscoveryThread.h"
#include "support/DiscoveryHarness.h"
#include "testsupport/ScopedTempDir.h"
#include "zemautils/trace.h"

namespace {

using qmtest::TClockSleep;
using qmtest::TInventory;
using qmtest::TLoggingPass;
using qmtest::TRecordingBridge;
using qmtest::TRecordingSound;

constexpr const char* kTwoDevices = R"({"devices": [
  {"address": "00:00:00:00:00:0A", "name": "Alpha", "records": [{"hex": "35 03 09 00 00"}]},
  {"address": "00:00:00:00:00:0B", "name": "Beta"}]})";

class DiscoveryThreadTest : public testing::Test {
protected:
    explicit DiscoveryThreadTest(const char* scenario = kTwoDevices) : inventory(scenario) {}

    // Runs the thread until it has slept `pauses` times, serving its hand-offs meanwhile.
    void RunUntilPauses(std::size_t pauses) {
        qm::TDiscoveryThread thread(inventory.pass, bridge, sound, inventory.session, sleep);
        sleep.onPause = [&](int) {
            if (sleep.sleeps.size() >= pauses) thread.Terminate();
        };
        thread.Resume();
        thread.WaitFor();
    }

    TInventory inventory;
    TRecordingBridge bridge{inventory.session};
    TRecordingSound sound;
    TClockSleep sleep{inventory.clock};
};

TEST_F(DiscoveryThreadTest, PassesRunBackToBackWithOneSecondPauses) {
    inventory.session.SetFoundSound("found.wav");
    RunUntilPauses(3);
    EXPECT_EQ(sleep.sleeps, (std::vector<int>{1000, 1000, 1000}));
    EXPECT_EQ(bridge.scanIndicators, 3);
    // Two new devices in one pass: two log lines, two sounds, two membership notices.
    EXPECT_EQ(bridge.log, (std::vector<std::string>{"Found new device: (00:00:00:00:00:0A)",
                                                    "Found new device: (00:00:00:00:00:0B)"}));
    EXPECT_EQ(sound.played, (std::vector<std::string>{"found.wav", "found.wav"}));
    EXPECT_EQ(bridge.listChanged, (std::vector<int>{1, 1}));
    inventory.WithDevice("(00:00:00:00:00:0A)", [](qm::TBTDevice& d) { EXPECT_EQ(d.SeenCount(), 3); });
}

TEST_F(DiscoveryThreadTest, SilentFoundSoundStillPostsTheNotice) {
    inventory.session.SetFoundSound("");
    RunUntilPauses(1);
    EXPECT_TRUE(sound.played.empty());
    EXPECT_EQ(bridge.listChanged, (std::vector<int>{1, 1}));
}

TEST_F(DiscoveryThreadTest, TerminationBeforeResumeRunsNothing) {
    qm::TDiscoveryThread thread(inventory.pass, bridge, sound, inventory.session, sleep);
    thread.Terminate();
    EXPECT_TRUE(thread.Finished());
    thread.WaitFor();
    EXPECT_EQ(inventory.session.DeviceList().Count(), 0);
}

TEST_F(DiscoveryThreadTest, DestructionWhileAHandOffWaitsServesItAndEnds) {
    TLoggingPass pass;
    {
        qm::TDiscoveryThread thread(pass, bridge, sound, inventory.session, sleep);
        thread.Resume();
        while (!pass.started.load()) std::this_thread::yield();
        // Nobody serves the queue before the destructor: it must serve the hand-off itself.
    }
    ASSERT_FALSE(bridge.log.empty());
    EXPECT_EQ(bridge.log.front(), "pass");
}

TEST_F(DiscoveryThreadTest, FailedLogHandOffEndsTheThread) {
    bridge.failLogLines = true;
    RunUntilPauses(100);
    // The first new device's log line fails; its error path logs again, which fails too.
    EXPECT_TRUE(sleep.sleeps.empty());
    EXPECT_EQ(bridge.scanIndicators, 0);
}

class DiscoveryThreadErrors : public DiscoveryThreadTest {
protected:
    DiscoveryThreadErrors()
        : DiscoveryThreadTest(
              R"({"controller": {"busy": true}, "devices": [{"address": "00:00:00:00:00:0A"}]})") {}
};

TEST_F(DiscoveryThreadErrors, FailedPassIsTracedLoggedAndPausedLonger) {
    testsupport::ScopedTempDir dir;
    const std::string traceFile = (dir / "trace.log").string();
    ASSERT_EQ(TraceStart(traceFile.c_str()), 0);
    TraceLevel(TRACE_MODULE_BLUETOOTH, 1);
    RunUntilPauses(4);
    TraceStop();

    const std::string message = "Unable to start device lookup.\n\nError: Device or resource busy";
    EXPECT_EQ(bridge.log, (std::vector<std::string>{message, message}));
    EXPECT_EQ(sleep.sleeps, (std::vector<int>{5000, 1000, 5000, 1000}));
    EXPECT_EQ(bridge.scanIndicators, 0);
    const std::string trace = testsupport::ScopedTempDir::read(traceFile);
    EXPECT_NE(trace.find("ERROR: " + message), std::string::npos) << trace;
}

}  // namespace
