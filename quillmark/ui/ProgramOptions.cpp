#include "quillmark/ui/ProgramOptions.h"

#include <charconv>

namespace qm::ui {

namespace {

constexpr std::uint32_t kMaximumDuration = 365u * 24 * 3600;

// A whole number of seconds from 1 to a year, in decimal digits only.
std::optional<std::uint32_t> ParseDuration(const std::string& text) {
    std::uint32_t seconds = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, seconds);
    if (text.empty() || text[0] == '+' || error != std::errc() || stop != end) return std::nullopt;
    if (seconds == 0 || seconds > kMaximumDuration) return std::nullopt;
    return seconds;
}

std::string WithFinalSlash(std::string directory) {
    if (directory.empty() || directory.back() != '/') directory += '/';
    return directory;
}

}  // namespace

std::optional<TProgramOptions> ParseProgramOptions(const std::vector<std::string>& arguments,
                                                   const std::string& defaultSessionDirectory) {
    TProgramOptions options;
    options.sessionDirectory = defaultSessionDirectory;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (qm::TakeRadioOption(argument, options.radio)) continue;
        if (argument == "--session-dir" && i + 1 < arguments.size() && !arguments[i + 1].empty()) {
            options.sessionDirectory = WithFinalSlash(arguments[++i]);
        } else if (argument == "--duration" && i + 1 < arguments.size()) {
            options.duration = ParseDuration(arguments[++i]);
            if (!options.duration) return std::nullopt;
        } else if (argument == "--help") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

std::string ProgramUsage(const std::string& defaultSessionDirectory) {
    return "Usage: quillmark [--simulate[=FILE]] [--session-dir DIR] [--duration SECONDS] [--help] "
           "[--version]\n"
           "Keeps a live inventory of the Bluetooth devices around this computer.\n"
           "  --simulate[=FILE]   scan the emulated radio with its built-in scenario, or the JSON scenario "
           "FILE\n"
           "  --session-dir DIR   keep the session file Quillmark.dat in DIR\n"
           "  --duration SECONDS  close the window after SECONDS, as File > Exit does\n"
           "  --help              show this text and exit\n"
           "  --version           show the version and exit\n"
           "Without --session-dir the session file is Quillmark.dat in the program's directory:\n  " +
           defaultSessionDirectory + "Quillmark.dat\n";
}

std::string VersionLine() {
#ifdef QM_PRERELEASE
    return "Quillmark " QM_VERSION_TEXT " Beta";
#else
    return "Quillmark " QM_VERSION_TEXT;
#endif
}

}  // namespace qm::ui
