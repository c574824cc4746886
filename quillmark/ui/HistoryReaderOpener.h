#pragma once
// How the window opens a reader on the sighting history: a function the details window calls at
// each showing, so that every reading goes through a fresh read-only connection of its own.

#include <functional>
#include <memory>
#include <string>

#include "quillmark/core/HistoryStore.h"

namespace qm::ui {

// Returns the reader, or no reader when there is no history yet; raises TError when the store is
// there but cannot be opened.
using TOpenHistory = std::function<std::unique_ptr<qm::IHistoryReader>()>;

// Opens the store beside the session file; no reader while that store does not exist.
TOpenHistory HistoryReaderOpener(std::string sessionFilePath);

}  // namespace qm::ui
