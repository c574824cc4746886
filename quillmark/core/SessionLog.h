#pragma once
// Lines of the session's event log: the time text of the session's clock, ": ", the text, added
// on top (the log is kept newest first).

#include <string>

#include "quillmark/core/SessionState.h"

namespace qm {

// Adds the line and returns it, for a view of the log to show.
std::string AddSessionLogLine(TSessionState& session, const std::string& text);

}  // namespace qm
