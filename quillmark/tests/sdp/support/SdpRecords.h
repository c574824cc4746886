#pragma once
// Wrapping hand-assembled attribute lists into records.

#include <string>
#include <string_view>

namespace sdptest {

// A record: the outer data element sequence around the (id, value) pairs given in hexadecimal,
// with an 8-bit or 16-bit length as the contents need.
std::string Record(std::string_view contentsHex);

// A record holding only attribute 0x0100 with the value given in hexadecimal.
std::string ServiceNameRecord(std::string_view valueHex);

}  // namespace sdptest
