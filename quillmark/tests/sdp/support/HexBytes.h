#pragma once
// Test records are written as hexadecimal bytes with blanks for readability.

#include <string>
#include <string_view>

namespace sdptest {

// The bytes of hexadecimal digit pairs; white space between pairs is ignored.
std::string HexBytes(std::string_view hex);

}  // namespace sdptest
