#pragma once
// The history store beside the session file a subcommand works on.

#include <memory>
#include <string>

#include "quillmark/base/Error.h"
#include "quillmark/core/HistoryStore.h"

namespace qm::cli {

// The reader of the store beside the session file; none when there is no store file, which means
// no history was kept there. Raises TError when the file is there but cannot be opened.
std::unique_ptr<IHistoryReader> OpenSessionHistory(const std::string& sessionFilePath);

// Why the store cannot be read, on one line: "/dir/Quillmark.sqlite: <reason>".
std::string HistoryFailureText(const std::string& sessionFilePath, const TError& error);

}  // namespace qm::cli
