// sdp-text and services over record files in a temporary directory.

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "quillmark/base/SystemErrorText.h"
#include "support/RunCli.h"
#include "testsupport/ScopedTempDir.h"

namespace {

using clitest::RunCli;
using testsupport::ScopedTempDir;

// A headset's service record, as hexadecimal text the way a person would type it.
constexpr const char* kHeadsetHex =
    "35 58\n"
    "  09 00 00  0a 00 01 00 02\n"
    "  09 00 01  35 06 19 11 08 19 12 03\n"
    "  09 00 04  35 0c 35 03 19 01 00 35 05 19 00 03 08 02\n"
    "  09 00 05  35 03 19 10 02\n"
    "  09 00 06  35 09 09 65 6e 09 00 6a 09 01 00\n"
    "  09 00 09  35 08 35 06 19 11 08 09 01 02\n"
    "  09 01 00  25 07 48 65 61 64 73 65 74\n"
    "  09 03 02  28 01\n";

constexpr const char* kHeadsetListing =
    "ServiceRecordHandle = 65538\n"
    "ServiceClassIDList = [Headset, GenericAudio]\n"
    "ProtocolDescriptorList = [[L2CAP], [RFCOMM, 2]]\n"
    "BrowseGroupList = [PublicBrowseGroup]\n"
    "LanguageBaseAttributeIDList = [25966, 106, 256]\n"
    "BluetoothProfileDescriptorList = [[Headset, 258]]\n"
    "Unknown (256) = Headset\n"
    "Unknown (770) = true\n";

// Binary records: a service name with a zero byte, one without a name, one with an empty name.
const std::string kZeroByteName(
    "\x35\x08\x09\x01\x00\x25\x03"
    "AB\0",
    10);
const std::string kNoName("\x35\x08\x09\x00\x01\x35\x03\x19\x11\x01", 10);
const std::string kEmptyName("\x35\x05\x09\x01\x00\x25\x00", 7);
const std::string kUnparsable("\x35\x09\x09\x01\x00", 5);
// Its sequence holds an element whose length runs past the sequence.
const std::string kBadSequence("\x35\x08\x09\x01\x00\x35\x03\x4D\x05\x01", 10);

class RecordCommands : public testing::Test {
protected:
    std::string File(const char* name, const std::string& bytes) { return dir_.write(name, bytes).string(); }
    ScopedTempDir dir_;
};

TEST_F(RecordCommands, SdpTextOfHandMadeHeadsetRecord) {
    const auto result = RunCli({"sdp-text", "--hex", File("headset.hex", kHeadsetHex)});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, kHeadsetListing);
    EXPECT_EQ(result.err, "");
}

TEST_F(RecordCommands, SdpTextJoinsRecordsInOrderWithZeroBytesAsBlanks) {
    const auto result = RunCli({"sdp-text", File("a.bin", kZeroByteName), File("b.bin", kNoName)});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "Unknown (256) = AB \nServiceClassIDList = [SerialPort]\n");
}

TEST_F(RecordCommands, UnparsableRecordGivesItsMessageAndNoListing) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {kUnparsable, "Unable to enumerate SDP attributes.\n\nError: " + qm::SystemErrorText(EBADMSG) + "\n"},
        {kBadSequence, "Error while processing SDP container: " + std::to_string(EBADMSG) + "\n"},
    };
    for (const auto& [record, message] : cases) {
        const auto result = RunCli({"sdp-text", File("good.bin", kNoName), File("bad.bin", record)});
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, message);
    }
}

TEST_F(RecordCommands, ServicesPrintsOneNamePerRecord) {
    const auto binary = RunCli({"services", File("a.bin", kZeroByteName), File("b.bin", kNoName),
                                File("c.bin", kEmptyName), File("d.bin", kZeroByteName)});
    EXPECT_EQ(binary.status, 0);
    EXPECT_EQ(binary.out, std::string("AB\0\nUnknown\nUnknown\nAB\0\n", 24));
    const auto hex = RunCli({"services", "--hex", File("headset.hex", kHeadsetHex)});
    EXPECT_EQ(hex.out, "Headset\n");
    EXPECT_EQ(RunCli({"services", File("bad.bin", kBadSequence)}).status, 1);
}

TEST_F(RecordCommands, InputThatCannotBeReadFails) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"sdp-text", (dir_ / "missing.bin").string()}, "cannot read"},
        {{"sdp-text", "--hex", File("odd.hex", "35 0")}, "not hexadecimal"},
        {{"sdp-text", "--hex", File("letters.hex", "35 0g")}, "not hexadecimal"},
        {{"services", "--hex", File("prefix.hex", "0x35 00")}, "not hexadecimal"},
    };
    for (const auto& [arguments, reason] : cases) {
        const auto result = RunCli(arguments);
        EXPECT_EQ(result.status, 1) << arguments.back();
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
    }
}

TEST_F(RecordCommands, WrongArgumentsAndHelp) {
    for (const char* command : {"sdp-text", "services"}) {
        for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
                 {command}, {command, "--hex"}, {command, "--binary", "x"}}) {
            const auto result = RunCli(arguments);
            EXPECT_EQ(result.status, 2) << command;
            EXPECT_EQ(result.out, "");
            EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
        }
        const auto help = RunCli({command, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind(std::string("Usage: quillmark-cli ") + command + " [--hex] FILE...", 0), 0u);
    }
}

}  // namespace
