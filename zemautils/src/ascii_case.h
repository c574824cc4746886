#pragma once
// Comparison of texts without regard to ASCII letter case, and ASCII white space, independent of
// the C locale.

#include <cstddef>

namespace zema {

// True when both texts exist and are equal once ASCII letters are folded to one case.
bool AsciiEqualIgnoreCase(const char* a, const char* b);

// The same for the first length characters of a, which must make up the whole of b.
bool AsciiEqualIgnoreCase(const char* a, std::size_t length, const char* b);

// Blank, tab, line feed, vertical tab, form feed or carriage return: the C locale's white space.
bool IsAsciiSpace(char c);

}  // namespace zema
