#pragma once
// The window program's command line:
//   quillmark [--simulate[=FILE]] [--session-dir DIR] [--duration SECONDS] [--help] [--version]
// Without options the program scans with the machine's Bluetooth and keeps its session beside the
// program file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "quillmark/bluetooth/DiscoveryRadio.h"

namespace qm::ui {

// The --help text, naming the session file's default directory.
std::string ProgramUsage(const std::string& defaultSessionDirectory);

struct TProgramOptions {
    qm::TRadioChoice radio;
    std::string sessionDirectory;           // ends with "/"
    std::optional<std::uint32_t> duration;  // seconds until the window closes itself
    bool help = false;
    bool version = false;
};

// The options given by the arguments after the program name; none for an unknown option, a
// missing directory, an empty scenario file name or a duration that is not 1 to 31536000 seconds.
std::optional<TProgramOptions> ParseProgramOptions(const std::vector<std::string>& arguments,
                                                   const std::string& defaultSessionDirectory);

// "Quillmark " and the version, with " Beta" for a pre-release build.
std::string VersionLine();

}  // namespace qm::ui
