// class and manufacturer, and the tool's own help.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/RunCli.h"

namespace {

using clitest::RunCli;

TEST(NameCommands, ClassOfDevice) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"0x5A020C", "major=2\nminor=3\nname=Smart Phone\ntype=dtPhone\n"},
        {"260", "major=1\nminor=1\nname=Desktop Computer\ntype=dtWorkstation\n"},
        {"0X00060C", "major=6\nminor=3\nname=Unknown Imager\ntype=dtCamera\n"},
        {"0x1F00", "major=31\nminor=0\nname=Unclassified\ntype=dtOther\n"},
        {"0", "major=0\nminor=0\nname=Miscellaneous\ntype=dtOther\n"},
        {"16777215", "major=31\nminor=63\nname=Unclassified\ntype=dtOther\n"},
    };
    for (const auto& [value, expected] : cases) {
        const auto result = RunCli({"class", value});
        EXPECT_EQ(result.status, 0) << value;
        EXPECT_EQ(result.out, expected);
        EXPECT_EQ(result.err, "");
    }
}

TEST(NameCommands, Manufacturer) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"62", "Systems and Chips, Inc\n"},
        {"0x000A", "Cambridge Silicon Radio\n"},
        {"63", "Unknown\n"},
        {"0xffff", "** Temporary Manufacturer Code\n"},
    };
    for (const auto& [id, expected] : cases) {
        const auto result = RunCli({"manufacturer", id});
        EXPECT_EQ(result.status, 0) << id;
        EXPECT_EQ(result.out, expected);
    }
}

TEST(NameCommands, WrongArgumentsGiveOneLineAndStatus2) {
    const std::vector<std::vector<std::string>> cases = {
        {"class"},
        {"class", ""},
        {"class", "0x"},
        {"class", "abc"},
        {"class", "-1"},
        {"class", "+1"},
        {"class", "1 "},
        {"class", "16777216"},
        {"class", "0x1000000"},
        {"class", "1", "2"},
        {"class", "99999999999999999999"},
        {"manufacturer"},
        {"manufacturer", "65536"},
        {"manufacturer", "0x10000"},
        {"manufacturer", "x"},
        {"frobnicate"},
        {},
    };
    for (const auto& arguments : cases) {
        const auto result = RunCli(arguments);
        EXPECT_EQ(result.status, 2) << (arguments.size() > 1 ? arguments[1] : "");
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    }
}

TEST(NameCommands, HelpOfToolAndCommands) {
    const auto tool = RunCli({"--help"});
    EXPECT_EQ(tool.status, 0);
    for (const char* command : {"sdp-text", "services", "class", "manufacturer"})
        EXPECT_NE(tool.out.find(std::string("  ") + command + " "), std::string::npos) << command;
    for (const char* command : {"class", "manufacturer"}) {
        const auto help = RunCli({command, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind(std::string("Usage: quillmark-cli ") + command, 0), 0u);
    }
}

}  // namespace
