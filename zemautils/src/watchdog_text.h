#pragma once
// The texts of the watchdog's reports: short names of source paths and elapsed times.

#include <cstdint>

namespace zema {

// The part after the last slash, else after the last backslash, else the whole text; "null" for a
// missing text.
const char* WatchdogShortName(const char* text);

// Seconds, a point, exactly three digits of milliseconds and "s": 1005 ms reads "1.005s".
struct ElapsedText {
    explicit ElapsedText(std::uint64_t milliseconds);
    char text[24];  // up to 17 digits of seconds, ".", 3 digits, "s" and the terminator
};

}  // namespace zema
