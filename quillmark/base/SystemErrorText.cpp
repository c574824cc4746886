#include "quillmark/base/SystemErrorText.h"

#include <cerrno>
#include <cstring>

namespace qm {

namespace {

// strerror_r has two forms; each overload takes the result of one of them.
[[maybe_unused]] std::string FromStrerror(int result, const char* buffer, int errorNumber) {
    return result == 0 ? std::string(buffer) : std::to_string(errorNumber);
}
[[maybe_unused]] std::string FromStrerror(const char* result, const char*, int errorNumber) {
    return result ? std::string(result) : std::to_string(errorNumber);
}

}  // namespace

std::string SystemErrorText() { return SystemErrorText(errno); }

std::string SystemErrorText(int errorNumber) {
    char buffer[512] = {};
    return FromStrerror(strerror_r(errorNumber, buffer, sizeof buffer - 1), buffer, errorNumber);
}

}  // namespace qm
