#pragma once
// The session file a subcommand works on: Quillmark.dat of the program's directory, of the
// directory given with --session-dir DIR, or the file given with --file PATH.

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "quillmark/core/SessionState.h"

namespace qm::cli {

// Quillmark.dat in the program's directory.
std::string DefaultSessionFile();

// Where the session file is without --session-dir or --file, as the help texts tell it.
std::string SessionFileHelp();

// The file named by "--session-dir DIR" or "--file PATH" at arguments[at], with `at` moved onto
// the value; none (and `at` unchanged) when arguments[at] is neither or its value is missing.
std::optional<std::string> TakeSessionFileOption(const std::vector<std::string>& arguments, std::size_t& at);

// The session stored in the file; when the file cannot be read or the reader rejects it, none,
// after writing the prefix and the reader's message (naming the rejected line) to err.
std::unique_ptr<TSessionState> ReadSessionOrComplain(const std::string& path, std::string_view prefix,
                                                     std::ostream& err);

}  // namespace qm::cli
