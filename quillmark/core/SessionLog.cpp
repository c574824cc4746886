#include "quillmark/core/SessionLog.h"

#include "quillmark/core/TimeText.h"

namespace qm {

std::string AddSessionLogLine(TSessionState& session, const std::string& text) {
    std::string line = FormatTime(session.Clock().Now()) + ": " + text;
    session.Log().push_front(line);
    return line;
}

}  // namespace qm
