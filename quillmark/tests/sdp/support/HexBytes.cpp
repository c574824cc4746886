#include "support/HexBytes.h"

#include <cctype>
#include <stdexcept>

namespace sdptest {

namespace {

int DigitValue(char digit) {
    if (!std::isxdigit(static_cast<unsigned char>(digit))) throw std::invalid_argument("not a hex digit");
    return std::isdigit(static_cast<unsigned char>(digit)) ? digit - '0' : std::toupper(digit) - 'A' + 10;
}

}  // namespace

std::string HexBytes(std::string_view hex) {
    std::string bytes;
    int high = -1;
    for (const char digit : hex) {
        if (std::isspace(static_cast<unsigned char>(digit))) continue;
        if (high < 0) {
            high = DigitValue(digit);
        } else {
            bytes += static_cast<char>(high * 16 + DigitValue(digit));
            high = -1;
        }
    }
    if (high >= 0) throw std::invalid_argument("odd number of hex digits");
    return bytes;
}

}  // namespace sdptest
