#pragma once

#include <string>

namespace qm {

// The system's message text for the calling thread's last error (errno), or its decimal number
// when the system has no text for it.
std::string SystemErrorText();

// The same for a given error number.
std::string SystemErrorText(int errorNumber);

}  // namespace qm
