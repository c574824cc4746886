#pragma once
// Reading of "key = value" configuration files, shared by the tracing facility.

#include <cstdint>

namespace zema {

// A configuration value as a decimal integer: leading white space, an optional sign, then digits
// up to the first non-digit; no digits read as 0. Overflow wraps instead of being undefined.
std::int32_t ConfigInteger(const char* text);

}  // namespace zema
