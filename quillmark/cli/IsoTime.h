#pragma once
// Times given and shown on the command line in ISO 8601, as milliseconds since 1970 UTC.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm::cli {

// "YYYY-MM-DD" (the start of that day in UTC), or the date, "T", "HH:MM" or "HH:MM:SS" with an
// optional fraction of a second, and a zone: "Z" or an offset "+HH:MM", "-HH:MM", "+HHMM", "+HH".
// Nothing for any other text, an impossible date or time, or a time without a zone.
std::optional<std::int64_t> ParseIsoTime(std::string_view text);

// "YYYY-MM-DDTHH:MM:00Z" of the minute the time lies in.
std::string IsoMinute(std::int64_t ms);

// "YYYY-MM-DD HH:MM" of the minute the time lies in, for tables read by people.
std::string ReadableMinute(std::int64_t ms);

}  // namespace qm::cli
