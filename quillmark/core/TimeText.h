#pragma once
// Texts of time stamps (signed 32-bit seconds since 1970-01-01 UTC) in local time.

#include <cstdint>
#include <string>

namespace qm {

// "%m/%d/%y at %H:%M:%S" in local time, for example "03/05/08 at 09:05:07"; empty for 0.
std::string FormatTime(std::int32_t time);

// "YYYY-MM-DDTHH:MM:SSZ" in UTC (ISO 8601), for example "2008-03-05T08:05:07Z"; empty for 0, like
// FormatTime.
std::string FormatIsoTime(std::int32_t time);

// The coarse age of a time stamp at the moment now: "Now" (less than 300 seconds, or in the
// future), "Last Hour", then by local calendar "Today", "Yesterday" (same year only),
// "This Month" or "Old".
const char* LastSeenBucket(std::int32_t time, std::int32_t now);

}  // namespace qm
