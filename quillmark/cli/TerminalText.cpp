#include "TerminalText.h"

namespace qm::cli {

std::string Printable(std::string_view text, bool keepLineBreaks) {
    std::string shown(text);
    for (char& c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        const bool lineBreak = c == '\n' || c == '\t';
        if ((byte < 32 || byte == 127) && !(keepLineBreaks && lineBreak)) c = '?';
    }
    return shown;
}

}  // namespace qm::cli
