// The window program's command line.

#include <gtest/gtest.h>

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
    };
    const std::vector<TCase> cases = {
        {{}, false, "", kProgramDirectory, false, false},
        {{"--simulate"}, true, "", kProgramDirectory, false, false},
        {{"--simulate=/tmp/office.json"}, true, "/tmp/office.json", kProgramDirectory, false, false},
        {{"--session-dir", "/var/lib/qm"}, false, "", "/var/lib/qm/", false, false},
        {{"--session-dir", "data/"}, false, "", "data/", false, false},
        {{"--simulate", "--session-dir", "d", "--version", "--help"}, true, "", "d/", true, true},
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
    }
}

TEST(ProgramOptions, RejectsUnknownOptionsAndMissingValues) {
    const std::vector<std::vector<std::string>> cases = {
        {"--frobnicate"},  {"-platform", "offscreen"}, {"--simulate="},
        {"--session-dir"}, {"--session-dir", ""},      {"--help=yes"},
        {"file.json"},
    };
    for (const auto& arguments : cases) {
        EXPECT_FALSE(ParseProgramOptions(arguments, kProgramDirectory).has_value())
            << testing::PrintToString(arguments);
    }
}

}  // namespace
