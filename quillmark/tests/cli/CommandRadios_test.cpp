// quillmark-cli radios on the emulated radio: the controller a scenario describes, as the radio
// information window would show it.

#include <gtest/gtest.h>

#include "support/RunCli.h"
#include "testsupport/ScopedTempDir.h"

namespace {

using clitest::RunCli;

struct RadiosCase {
    const char* name;
    const char* controller;  // the scenario's controller object
    const char* expected;
};

TEST(CommandRadios, PrintsTheEmulatedControllerAsTheWindowShowsIt) {
    const RadiosCase cases[] = {
        {"powered, connectable",
         R"({"name": "Bench Radio", "address": "00:0A:3A:12:34:56", "class": "0x000104", "manufacturer": 10,
             "lmpSubversion": 65535})",
         "Radio 1: Bench Radio (Cambridge Silicon Radio)\n"
         "  Name:          Bench Radio\n"
         "  Type:          Desktop Computer\n"
         "  Address:       00:0A:3A:12:34:56\n"
         "  Manufacturer:  Cambridge Silicon Radio\n"
         "  Version:       65535\n"
         "  Discoverable:  No\n"
         "  Connectable:   Yes\n"},
        {"discoverable, a name that would steer the terminal",
         R"({"name": "Evil\u001b[2J", "discoverable": true, "connectable": true})",
         "Radio 1: Evil?[2J (Intel Corp.)\n"
         "  Name:          Evil?[2J\n"
         "  Type:          Laptop Computer\n"
         "  Address:       00:1A:7D:DA:71:13\n"
         "  Manufacturer:  Intel Corp.\n"
         "  Version:       256\n"
         "  Discoverable:  Yes\n"
         "  Connectable:   Yes\n"},
        {"switched off: its firmware version cannot be read", R"({"powered": false, "connectable": false})",
         "Radio 1: Quillmark Emulated Radio (Intel Corp.)\n"
         "  Name:          Quillmark Emulated Radio\n"
         "  Type:          Laptop Computer\n"
         "  Address:       00:1A:7D:DA:71:13\n"
         "  Manufacturer:  Intel Corp.\n"
         "  Version:       0\n"
         "  Discoverable:  No\n"
         "  Connectable:   No\n"},
    };
    testsupport::ScopedTempDir dir;
    for (const RadiosCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto scenario = dir.write("scenario.json", std::string(R"({"controller": )") + c.controller + "}");
        const auto result = RunCli({"radios", "--simulate=" + scenario.string()});
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, c.expected);
    }
}

TEST(CommandRadios, RejectsBadArgumentsAndScenarios) {
    testsupport::ScopedTempDir dir;
    EXPECT_EQ(RunCli({"radios", "--frobnicate"}).status, 2);
    EXPECT_EQ(RunCli({"radios", "extra"}).status, 2);
    const auto missing = RunCli({"radios", "--simulate=" + (dir / "none.json").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "quillmark-cli radios: Unable to read scenario file: " + (dir / "none.json").string() + "\n");
    EXPECT_EQ(missing.out, "");
}

}  // namespace
