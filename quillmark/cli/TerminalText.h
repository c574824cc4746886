#pragma once
// Texts from outside (devices, files, radios) written to a terminal.

#include <string>
#include <string_view>

namespace qm::cli {

// Control characters become "?" (line breaks and tabs too, unless the text is shown as several
// lines), so that no text can steer the terminal.
std::string Printable(std::string_view text, bool keepLineBreaks = false);

}  // namespace qm::cli
