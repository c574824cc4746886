#pragma once
// The window program's command line:
//   quillmark [--simulate[=FILE]] [--session-dir DIR] [--help] [--version]
// Without options the program scans with the machine's Bluetooth and keeps its session beside the
// program file.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "quillmark/bluetooth/DiscoveryRadio.h"

namespace qm::ui {

inline constexpr std::string_view kProgramUsage =
    "Usage: quillmark [--simulate[=FILE]] [--session-dir DIR] [--help] [--version]\n"
    "Keeps a live inventory of the Bluetooth devices around this computer.\n"
    "  --simulate[=FILE]  scan the emulated radio with its built-in scenario, or the JSON scenario FILE\n"
    "  --session-dir DIR  keep the session file Quillmark.dat in DIR (default: the program's directory)\n"
    "  --help             show this text and exit\n"
    "  --version          show the version and exit\n";

struct TProgramOptions {
    qm::TRadioChoice radio;
    std::string sessionDirectory;  // ends with "/"
    bool help = false;
    bool version = false;
};

// The options given by the arguments after the program name; none for an unknown option, a
// missing directory or an empty scenario file name.
std::optional<TProgramOptions> ParseProgramOptions(const std::vector<std::string>& arguments,
                                                   const std::string& defaultSessionDirectory);

// "Quillmark " and the version, with " Beta" for a pre-release build.
std::string VersionLine();

}  // namespace qm::ui
