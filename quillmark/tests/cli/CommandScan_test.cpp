// quillmark-cli scan on the emulated radio, in a fresh session directory.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/SessionFile.h"
#include "quillmark/history/SqliteHistoryReader.h"
#include "support/RunCli.h"
#include "testsupport/ScopedTempDir.h"

namespace {

using clitest::RunCli;

constexpr const char* kScenario = R"({"devices": [
  {"address": "00:00:00:00:00:0A", "name": "Alpha", "records": [{"classes": ["0x1101"], "rfcomm": 1}],
   "format": "rssi", "signal": -55},
  {"address": "00:00:00:00:00:0B", "name": "Beta"}]})";

TEST(CommandScan, SimulatedScanFillsAFreshSession) {
    testsupport::ScopedTempDir dir;
    const auto scenario = dir.write("scenario.json", kScenario);
    const auto result = RunCli(
        {"scan", "--simulate=" + scenario.string(), "--session-dir", dir.path().string(), "--duration", "2"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find(": Scan started in location \n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find(": Found new device: (00:00:00:00:00:0A)\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find(": Found new device: (00:00:00:00:00:0B)\n"), std::string::npos) << result.out;
    EXPECT_EQ(result.out.substr(result.out.size() - 16), ": Scan finished\n") << result.out;

    const auto session = qm::LoadSession(qm::SessionFilePath(dir.path().string() + "/"));
    ASSERT_EQ(session->Log().front().substr(20), ": Scan finished");
    qm::TDeviceListLock lock(session->DeviceList());
    ASSERT_EQ(lock->Count(), 2);
    const qm::TBTDevice* alpha = lock->FindDevice("(00:00:00:00:00:0A)");
    ASSERT_TRUE(alpha);
    EXPECT_EQ(alpha->Name(), "Alpha");
    ASSERT_EQ(alpha->RawSDPRecords().size(), 1u);
    EXPECT_EQ(alpha->RawSDPRecords()[0][0], '\x35');

    // The history beside the session has both devices, Alpha with its signal.
    const auto history = qm::OpenHistoryReader(qm::SessionFilePath(dir.path().string() + "/"));
    const auto summary = history->Summary();
    ASSERT_EQ(summary.size(), 2u);
    EXPECT_EQ(summary[0].address, "(00:00:00:00:00:0A)");
    EXPECT_GE(summary[0].minutesPresent, 1);
    const auto alphaMinutes = history->Minutes("(00:00:00:00:00:0A)", 0, INT64_MAX);
    ASSERT_FALSE(alphaMinutes.empty());
    EXPECT_EQ(alphaMinutes[0].rssiMax, std::optional<int>(-55));
    const auto latest = history->Latest("(00:00:00:00:00:0A)");
    ASSERT_TRUE(latest);
    EXPECT_EQ(latest->rssi, std::optional<std::int8_t>(-55));
    const auto minutes = history->Minutes("(00:00:00:00:00:0B)", 0, INT64_MAX);
    ASSERT_FALSE(minutes.empty());
    EXPECT_FALSE(minutes[0].rssiMean);
}

TEST(CommandScan, RejectsBadArgumentsAndScenarios) {
    testsupport::ScopedTempDir dir;
    EXPECT_EQ(RunCli({"scan", "--duration", "soon"}).status, 2);
    EXPECT_EQ(RunCli({"scan", "--frobnicate"}).status, 2);
    const auto missing = RunCli({"scan", "--simulate=" + (dir / "none.json").string(), "--session-dir",
                                 dir.path().string(), "--duration", "1"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Unable to read scenario file: "), std::string::npos) << missing.err;
    const auto broken = RunCli({"scan", "--simulate=" + dir.write("bad.json", "{").string(), "--session-dir",
                                dir.path().string(), "--duration", "1"});
    EXPECT_EQ(broken.status, 1);
    EXPECT_NE(broken.err.find("Invalid scenario: "), std::string::npos) << broken.err;
}

}  // namespace
