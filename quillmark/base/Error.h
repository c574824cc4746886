#pragma once
// The one error type of the program: a message text made of a fixed English sentence and, for a
// failure of the platform, "\n\nError: " followed by the system's text for the error.

#include <stdexcept>
#include <string>

namespace qm {

class TError : public std::runtime_error {
public:
    explicit TError(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }

    // sentence + "\n\nError: " + SystemErrorText() for the calling thread's errno.
    static TError WithSystemError(const std::string& sentence);
    // sentence + "\n\nError: " + the text of the given error number.
    static TError WithSystemError(const std::string& sentence, int errorNumber);
};

}  // namespace qm
