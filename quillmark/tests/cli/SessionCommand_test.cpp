// session check, list, show and rewrite on files in a temporary directory.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillmark/core/SessionFile.h"
#include "quillmark/core/SessionText.h"
#include "support/RunCli.h"
#include "testsupport/ScopedTempDir.h"

namespace {

using clitest::RunCli;
using ::testing::HasSubstr;
using testsupport::ScopedTempDir;

// A service record with attribute 0x0100, the service name.
std::string Record(const std::string& name) {
    const std::string body = std::string("\x09\x01\x00\x25", 4) + static_cast<char>(name.size()) + name;
    return std::string("\x35", 1) + static_cast<char>(body.size()) + body;
}

class SessionCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        qm::TBTDevice& device = state_.DeviceList().Add();
        device.SetName("Phone\tof Bob's");
        device.SetAddress("(00:11:22:AA:BB:CC)");
        device.SetMajorClass(2);
        device.SetMinorClass(3);
        device.SetLastSeen(1700000300);
        device.SetSeenCount(2);
        device.SetFlags(0x08);
        device.RawSDPRecords() = {Record("Serial Port"), Record(std::string(80, 'n'))};
        state_.DeviceList().Add().SetAddress("(00:11:22:AA:BB:CD)");
        state_.SetCurrentLocation("Office");
        state_.Log() = {"11/14/23 at 22:18:20: Found new device: (00:11:22:AA:BB:CD)", "Scan started\r\n"};
        qm::SaveSession(state_, file_);
    }
    qm::TSettableClock clock_{1700000000};
    qm::TSessionState state_{clock_};
    ScopedTempDir dir_;
    const std::string file_ = (dir_ / "Quillmark.dat").string();
};

TEST_F(SessionCommand, CheckCountsWhatItRead) {
    const auto result = RunCli({"session", "check", "--session-dir", dir_.path().string()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "devices=2 locations=1 log=2\n");
}

TEST_F(SessionCommand, CheckNamesTheRejectedLineAndChangesNothing) {
    const std::string bad = "object TSessionState\r\n  DeviceList = <>\r\n  Colour = 'red'\r\nend\r\n";
    dir_.write("Quillmark.dat", bad);
    for (const char* action : {"check", "rewrite", "list"}) {
        const auto result = RunCli({"session", action, "--file", file_});
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "quillmark-cli session: " + file_ + ": line 3: Unknown property \"Colour\"\n");
    }
    EXPECT_EQ(ScopedTempDir::read(file_), bad);
    EXPECT_EQ(RunCli({"session", "check", "--file", file_ + ".none"}).status, 1);
}

TEST_F(SessionCommand, ListOneLinePerDevice) {
    const auto result = RunCli({"session", "list", "--file", file_});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(
        result.out,
        "(00:11:22:AA:BB:CC)\tMaker, Inc.\tPhone?of Bob's\tdtPhone\tSmart Phone\t11/14/23 at "
        "22:13:20\t11/14/23 at "
        "22:18:20\t2\t\tPaired, SDP\n"
        "(00:11:22:AA:BB:CD)\tMaker, Inc.\tUnknown\tdtOther\tMiscellaneous\t11/14/23 at 22:13:20\t\t0\t\t\n");
}

TEST_F(SessionCommand, ShowOneDevice) {
    const auto result = RunCli({"session", "show", "(00:11:22:AA:BB:CC)", "--file", file_});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(
        result.out,
        HasSubstr(
            "Name: Phone?of Bob's\nAddress: (00:11:22:AA:BB:CC)\nVendor: Maker, Inc.\nType: dtPhone\n"));
    EXPECT_THAT(result.out, HasSubstr("\nFlags: 8 (Paired, SDP)\n"));
    EXPECT_THAT(result.out, HasSubstr("\nServices:\n  Serial Port\n  " + std::string(80, 'n') + "\nSDP:\n"));
    EXPECT_EQ(RunCli({"session", "show", "(00:11:22:aa:bb:cc)", "--file", file_}).status, 1);
}

TEST_F(SessionCommand, RewriteLeavesASystemFileUnchanged) {
    const std::string before = ScopedTempDir::read(file_);
    const auto result = RunCli({"session", "rewrite", "--file", file_});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ScopedTempDir::read(file_), before);
}

TEST_F(SessionCommand, RewriteNormalisesATolerantFile) {
    dir_.write("Quillmark.dat",
               "OBJECT TSessionState\n devicelist = < >\n log . strings = ( 'a' +\n 'b''s' )\nEND");
    EXPECT_EQ(RunCli({"session", "rewrite", "--file", file_}).status, 0);
    EXPECT_EQ(ScopedTempDir::read(file_),
              "object TSessionState\r\n  DeviceList = <>\r\n  Log.Strings = (\r\n    'ab'#39's')\r\n"
              "  FoundSound = 'C:\\WINDOWS\\Media\\Windows XP Information Bar.wav'\r\nend\r\n");
}

TEST_F(SessionCommand, UsageErrors) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"session"},
          {"session", "erase"},
          {"session", "show"},
          {"session", "list", "x"},
          {"session", "list", "--file", "a", "--session-dir", "b"},
          {"session", "check", "--verbose"}})
        EXPECT_EQ(RunCli(arguments).status, 2) << arguments.back();
    EXPECT_THAT(RunCli({"session", "--help"}).out, HasSubstr("Usage: quillmark-cli session"));
}

}  // namespace
