#include "quillmark/ui/ProgramOptions.h"

namespace qm::ui {

namespace {

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

std::string VersionLine() {
#ifdef QM_PRERELEASE
    return "Quillmark " QM_VERSION_TEXT " Beta";
#else
    return "Quillmark " QM_VERSION_TEXT;
#endif
}

}  // namespace qm::ui
