#include "SessionFileArguments.h"

#include <ostream>

#include "quillmark/core/FileSystem.h"
#include "quillmark/core/ProgramDirectory.h"
#include "quillmark/core/SessionFile.h"

namespace qm::cli {

namespace {

std::string WithSlash(std::string directory) {
    if (directory.empty() || directory.back() != '/') directory += '/';
    return directory;
}

}  // namespace

std::string DefaultSessionFile() {
    return SessionFilePath(ProgramDirectory());
}

std::string SessionFileHelp() {
    return "Without --session-dir (or --file), the session file is Quillmark.dat in the program's "
           "directory:\n  " +
           DefaultSessionFile() + "\n";
}

std::optional<std::string> TakeSessionFileOption(const std::vector<std::string>& arguments, std::size_t& at) {
    const std::string& option = arguments[at];
    if ((option != "--session-dir" && option != "--file") || at + 1 >= arguments.size()) return std::nullopt;
    const std::string& value = arguments[++at];
    return option == "--file" ? value : SessionFilePath(WithSlash(value));
}

std::unique_ptr<TSessionState> ReadSessionOrComplain(const std::string& path, std::string_view prefix,
                                                     std::ostream& err) {
    TSessionFileRead read = ReadSessionFile(path, SystemClock(), PosixFileSystem());
    if (read.outcome == TSessionFileRead::TOutcome::Unreadable) err << prefix << read.reason << '\n';
    if (read.outcome == TSessionFileRead::TOutcome::Rejected)
        err << prefix << path << ": " << read.reason << '\n';
    return std::move(read.state);
}

}  // namespace qm::cli
