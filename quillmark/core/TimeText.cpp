#include "quillmark/core/TimeText.h"

#include <ctime>

namespace qm {

namespace {

constexpr std::int64_t kNowSeconds = 300;
constexpr std::int64_t kHourSeconds = 3600;

bool LocalTime(std::int32_t time, std::tm& local) {
    const std::time_t value = time;
    return ::localtime_r(&value, &local) != nullptr;
}

}  // namespace

std::string FormatTime(std::int32_t time) {
    std::tm local;
    if (time == 0 || !LocalTime(time, local)) return {};
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%m/%d/%y at %H:%M:%S", &local);
    return std::string(text, length);
}

std::string FormatIsoTime(std::int32_t time) {
    const std::time_t value = time;
    std::tm utc;
    if (time == 0 || !::gmtime_r(&value, &utc)) return {};
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return std::string(text, length);
}

const char* LastSeenBucket(std::int32_t time, std::int32_t now) {
    const std::int64_t age = static_cast<std::int64_t>(now) - time;
    if (age < kNowSeconds) return "Now";
    if (age < kHourSeconds) return "Last Hour";
    std::tm seen;
    std::tm today;
    if (!LocalTime(time, seen) || !LocalTime(now, today)) return "Old";
    if (seen.tm_year != today.tm_year) return "Old";
    if (seen.tm_yday == today.tm_yday) return "Today";
    if (seen.tm_yday + 1 == today.tm_yday) return "Yesterday";
    if (seen.tm_mon == today.tm_mon) return "This Month";
    return "Old";
}

}  // namespace qm
