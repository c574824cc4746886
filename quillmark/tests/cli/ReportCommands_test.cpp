// export and import on files in a temporary directory.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/SessionFile.h"
#include "support/HistoryFixture.h"
#include "support/RunCli.h"
#include "testsupport/ScopedTempDir.h"

namespace {

using clitest::RunCli;
using ::testing::HasSubstr;
using testsupport::ScopedTempDir;

constexpr const char* kRejectedSession = "object TSessionState\r\n  Colour = 'red'\r\nend\r\n";

class ReportCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        qm::TBTDevice& phone = state_.DeviceList().Add();
        phone.SetAddress("(00:11:22:AA:BB:CC)");
        phone.SetName("=HYPERLINK(\"http://x\")");
        phone.SetLastSeen(1700000300);
        state_.DeviceList().Add().SetAddress("(DA:11:22:AA:BB:CD)");
        qm::SaveSession(state_, file_);
    }
    std::string Read(const std::string& name) const { return ScopedTempDir::read(dir_ / name); }

    qm::TSettableClock clock_{1700000000};
    qm::TSessionState state_{clock_};
    ScopedTempDir dir_;
    const std::string file_ = (dir_ / "Quillmark.dat").string();
};

TEST_F(ReportCommands, ExportCsvToStandardOutput) {
    const auto result = RunCli({"export", "--format", "csv", "--session-dir", dir_.path().string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(
        result.out,
        "address,vendor,name,type,class,first_seen,first_seen_local,last_seen,last_seen_local,sightings,"
        "flags,location,services,rssi,minutes_present\r\n"
        "\"(00:11:22:AA:BB:CC)\",\"Maker, "
        "Inc.\",\"'=HYPERLINK(\"\"http://x\"\")\",\"dtOther\",\"Miscellaneous\","
        "\"2023-11-14T22:13:20Z\",\"11/14/23 at 22:13:20\",\"2023-11-14T22:18:20Z\",\"11/14/23 at 22:18:20\","
        "\"0\",\"\",\"\",\"\",\"\",\"0\"\r\n"
        "\"(DA:11:22:AA:BB:CD)\",\"(random)\",\"Unknown\",\"dtOther\",\"Miscellaneous\","
        "\"2023-11-14T22:13:20Z\",\"11/14/23 at 22:13:20\",\"\",\"\",\"0\",\"\",\"\",\"\",\"\",\"0\"\r\n");
}

class ExportFormat : public ReportCommands, public ::testing::WithParamInterface<const char*> {};

// The file holds what standard output shows, and replaces what OUT held.
TEST_P(ExportFormat, OutputFileHoldsTheReport) {
    const auto shown = RunCli({"export", "--format", GetParam(), "--file", file_});
    dir_.write("report", "old");
    const auto written =
        RunCli({"export", "--file", file_, "--output", (dir_ / "report").string(), "--format", GetParam()});
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(Read("report"), shown.out);
    EXPECT_THAT(shown.out, HasSubstr("Maker, Inc."));
    EXPECT_THAT(shown.out, HasSubstr("(random)"));
}

INSTANTIATE_TEST_SUITE_P(Formats, ExportFormat, ::testing::Values("csv", "json", "html"));

// With a history store beside the session, each row ends with the device's latest signal and its
// minutes present; a device the store does not know has no signal and no minutes.
TEST_F(ReportCommands, ExportRowsEndWithTheHistoryFacts) {
    constexpr std::int64_t kMinuteMs = 60000;
    constexpr std::int64_t kStart = 1700000000000;
    clitest::WriteHistory(
        (dir_ / "Quillmark.sqlite").string(),
        {clitest::Sighted("(00:11:22:AA:BB:CC)", qm::TTransport::Classic, kStart, -80, "Lab"),
         clitest::Sighted("(00:11:22:AA:BB:CC)", qm::TTransport::Classic, kStart + kMinuteMs, -67, "Lab"),
         clitest::Sighted("(00:11:22:AA:BB:CC)", qm::TTransport::LowEnergy, kStart + 30000, -90, "Lab")},
        1700000300);

    const auto json = RunCli({"export", "--format", "json", "--file", file_});
    ASSERT_EQ(json.status, 0) << json.err;
    const auto devices = nlohmann::ordered_json::parse(json.out);
    ASSERT_EQ(devices.size(), 2u);
    std::vector<std::string> keys;
    for (const auto& item : devices[0].items()) keys.push_back(item.key());
    EXPECT_EQ(keys,
              (std::vector<std::string>{"address", "vendor", "name", "type", "class", "first_seen",
                                        "first_seen_local", "last_seen", "last_seen_local", "sightings",
                                        "flags", "location", "services", "sdp", "rssi", "minutes_present"}));
    EXPECT_EQ(devices[0].at("rssi"), -67);
    EXPECT_EQ(devices[0].at("minutes_present"), 2);
    EXPECT_TRUE(devices[1].at("rssi").is_null());
    EXPECT_EQ(devices[1].at("minutes_present"), 0);

    const auto csv = RunCli({"export", "--format", "csv", "--file", file_});
    EXPECT_THAT(csv.out, HasSubstr(",services,rssi,minutes_present\r\n"));
    EXPECT_THAT(csv.out, HasSubstr(",\"\",\"-67\",\"2\"\r\n\"(DA:11:22:AA:BB:CD)\""));
    EXPECT_THAT(csv.out, ::testing::EndsWith(",\"\",\"\",\"0\"\r\n"));

    const auto html = RunCli({"export", "--format", "html", "--file", file_});
    EXPECT_THAT(html.out, HasSubstr("<th>SDP</th><th>RSSI (dBm)</th><th>Minutes present</th></tr>"));
    EXPECT_THAT(html.out, HasSubstr("</pre></details></td><td>-67</td><td>2</td></tr>"));
    EXPECT_THAT(html.out, HasSubstr("</pre></details></td><td></td><td>0</td></tr>"));
}

// A store that cannot be read leaves the history out of the report, and says why.
TEST_F(ReportCommands, ExportWithAnUnreadableStoreShowsNoHistory) {
    dir_.write("Quillmark.sqlite", std::string(4096, 'x'));
    const auto result = RunCli({"export", "--format", "json", "--session-dir", dir_.path().string()});
    EXPECT_EQ(result.status, 0);
    EXPECT_THAT(result.err, ::testing::StartsWith(
                                "quillmark-cli export: " + (dir_ / "Quillmark.sqlite").string() + ": "));
    EXPECT_THAT(result.err, ::testing::EndsWith(" (the report shows no history)\n"));
    const auto devices = nlohmann::json::parse(result.out);
    ASSERT_EQ(devices.size(), 2u);
    for (const auto& device : devices) {
        EXPECT_TRUE(device.at("rssi").is_null());
        EXPECT_EQ(device.at("minutes_present"), 0);
    }
}

// Nothing is written when the session cannot be read; the reader's message is shown.
TEST_F(ReportCommands, ExportOfAnUnreadableSessionWritesNothing) {
    dir_.write("report", "old");
    dir_.write("Quillmark.dat", kRejectedSession);
    auto result =
        RunCli({"export", "--format", "json", "--file", file_, "--output", (dir_ / "report").string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "quillmark-cli export: " + file_ + ": line 2: Unknown property \"Colour\"\n");
    EXPECT_EQ(Read("report"), "old");
    result = RunCli(
        {"export", "--format", "html", "--file", file_ + ".none", "--output", (dir_ / "new").string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("quillmark-cli export: Unable to read " + file_ + ".none: "));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "new"));
}

TEST_F(ReportCommands, ExportToAPlaceThatTakesNoFileFails) {
    const auto result =
        RunCli({"export", "--format", "csv", "--file", file_, "--output", (dir_ / "no" / "report").string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("quillmark-cli export: "));
    EXPECT_EQ(result.out, "");
}

// A capture with one inquiry result (HCI UART): a device with the class of a smart phone.
std::string OneDeviceCapture() {
    return std::string("btsnoop\0\0\0\0\1\0\0\x03\xEA", 16) +
           std::string("\0\0\0\x12\0\0\0\x12\0\0\0\x03\0\0\0\0", 16) +
           std::string("\x00\xE2\xE7\xD7\x27\x4D\xC0\x00", 8) +  // 1700000000 s after 1970
           std::string("\x04\x02\x0F\x01\xCC\xBB\xAA\x22\x11\x00\x01\x00\x00\x0C\x02\x5A\x34\x12", 18);
}

TEST_F(ReportCommands, ImportIntoANewSessionThenIntoAKnownOne) {
    ScopedTempDir fresh;
    const std::string capture = dir_.write("inquiry.btsnoop", OneDeviceCapture()).string();
    auto result = RunCli({"import", "--btsnoop", capture, "--session-dir", fresh.path().string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "Imported 1 new and 0 known devices (1 sightings) from " + capture + "\n");
    const auto listed = RunCli({"session", "list", "--session-dir", fresh.path().string()});
    EXPECT_EQ(
        listed.out,
        "(00:11:22:AA:BB:CC)\tMaker, Inc.\tUnknown\tdtPhone\tSmart Phone\t11/14/23 at 22:13:20\t11/14/23 at "
        "22:13:20\t1\t\t\n");

    result = RunCli({"import", "--file", file_, "--btsnoop", capture});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "Imported 0 new and 1 known devices (1 sightings) from " + capture + "\n");
    const auto read = qm::ReadSessionFile(file_, clock_, qm::PosixFileSystem());
    ASSERT_TRUE(read.state);
    ASSERT_FALSE(read.state->Log().empty());
    EXPECT_THAT(read.state->Log().front(), ::testing::EndsWith(": Imported 0 devices from " + capture));
    qm::TDeviceListLock lock(read.state->DeviceList());
    EXPECT_EQ(lock->FindDevice("(00:11:22:AA:BB:CC)")->Name(), "=HYPERLINK(\"http://x\")");
    EXPECT_EQ(lock->FindDevice("(00:11:22:AA:BB:CC)")->LastSeen(), 1700000300);
}

TEST_F(ReportCommands, ImportRefusesWhatItCannotTakeAndLeavesTheSession) {
    const std::string before = Read("Quillmark.dat");
    const std::string text = dir_.write("notes.txt", "not a capture").string();
    auto result = RunCli({"import", "--btsnoop", text, "--file", file_});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "quillmark-cli import: " + text + ": not a btsnoop capture (no btsnoop header)\n");
    result = RunCli({"import", "--btsnoop", (dir_ / "none").string(), "--file", file_});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, ::testing::StartsWith("quillmark-cli import: Unable to read " +
                                                  (dir_ / "none").string() + ": "));
    EXPECT_EQ(Read("Quillmark.dat"), before);

    dir_.write("Quillmark.dat", kRejectedSession);
    const std::string capture = dir_.write("inquiry.btsnoop", OneDeviceCapture()).string();
    result = RunCli({"import", "--btsnoop", capture, "--file", file_});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "quillmark-cli import: " + file_ + ": line 2: Unknown property \"Colour\"\n");
    EXPECT_EQ(Read("Quillmark.dat"), kRejectedSession);

    const std::string nowhere = (dir_ / "no" / "Quillmark.dat").string();
    result = RunCli({"import", "--btsnoop", capture, "--file", nowhere});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "quillmark-cli import: Unable to create file: " + nowhere + "\n");
    EXPECT_EQ(result.out, "");
}

TEST_F(ReportCommands, UsageErrors) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"export"},
          {"export", "--format"},
          {"export", "--format", "xml"},
          {"export", "--format", "csv", "--format", "json"},
          {"export", "--format", "csv", "--output"},
          {"export", "--format", "csv", "--output", ""},
          {"export", "--format", "csv", "--file", "a", "--session-dir", "b"},
          {"export", "--format", "csv", "extra"},
          {"import"},
          {"import", "--btsnoop"},
          {"import", "--btsnoop", "a", "--btsnoop", "b"},
          {"import", "--btsnoop", "a", "--file", "a", "--file", "b"},
          {"import", "--btsnoop", "a", "--verbose"}})
        EXPECT_EQ(RunCli(arguments).status, 2) << ::testing::PrintToString(arguments);
    EXPECT_THAT(RunCli({"export", "--help"}).out, HasSubstr("Usage: quillmark-cli export"));
    EXPECT_THAT(RunCli({"import", "--help"}).out, HasSubstr("Usage: quillmark-cli import"));
}

}  // namespace
