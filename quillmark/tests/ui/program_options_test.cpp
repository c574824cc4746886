// The window program's command line.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "quillmark/ui/ProgramOptions.h"

namespace {

using qm::ui::ParseProgramOptions;

constexpr const char* kProgramDirectory = "/opt/quillmark/";

TEST(ProgramOptions, ReadsEachOptionAndKeepsTheDefaultsOtherwise) {
    struct TCase {
        std::vector<std::string> arguments;
        bool simulate;
        std::string scenarioFile;
        std::string sessionDirectory;
        bool help;
        bool version;
        std::optional<std::uint32_t> duration;
    };
    const std::vector<TCase> cases = {
        {{}, false, "", kProgramDirectory, false, false, std::nullopt},
        {{"--simulate"}, true, "", kProgramDirectory, false, false, std::nullopt},
        {{"--simulate=/tmp/office.json"},
         true,
         "/tmp/office.json",
         kProgramDirectory,
         false,
         false,
         std::nullopt},
        {{"--session-dir", "/var/lib/qm"}, false, "", "/var/lib/qm/", false, false, std::nullopt},
        {{"--session-dir", "data/"}, false, "", "data/", false, false, std::nullopt},
        {{"--simulate", "--session-dir", "d", "--version", "--help"},
         true,
         "",
         "d/",
         true,
         true,
         std::nullopt},
        {{"--duration", "20"}, false, "", kProgramDirectory, false, false, 20},
        {{"--duration", "31536000", "--simulate"}, true, "", kProgramDirectory, false, false, 31536000},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const auto options = ParseProgramOptions(c.arguments, kProgramDirectory);
        ASSERT_TRUE(options);
        EXPECT_EQ(options->radio.simulate, c.simulate);
        EXPECT_EQ(options->radio.scenarioFile, c.scenarioFile);
        EXPECT_EQ(options->sessionDirectory, c.sessionDirectory);
        EXPECT_EQ(options->help, c.help);
        EXPECT_EQ(options->version, c.version);
        EXPECT_EQ(options->duration, c.duration);
    }
}

TEST(ProgramOptions, RejectsUnknownOptionsAndMissingValues) {
    const std::vector<std::vector<std::string>> cases = {
        {"--frobnicate"},
        {"-platform", "offscreen"},
        {"--simulate="},
        {"--session-dir"},
        {"--session-dir", ""},
        {"--help=yes"},
        {"file.json"},
        {"--duration"},
        {"--duration", "0"},
        {"--duration", "-5"},
        {"--duration", "+5"},
        {"--duration", "20s"},
        {"--duration", "31536001"},
        {"--duration", ""},
    };
    for (const auto& arguments : cases) {
        EXPECT_FALSE(ParseProgramOptions(arguments, kProgramDirectory).has_value())
            << testing::PrintToString(arguments);
    }
}

}  // namespace
