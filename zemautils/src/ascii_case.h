#pragma once
// Comparison of texts without regard to ASCII letter case, independent of the C locale.

namespace zema {

// True when both texts exist and are equal once ASCII letters are folded to one case.
bool AsciiEqualIgnoreCase(const char* a, const char* b);

}  // namespace zema
