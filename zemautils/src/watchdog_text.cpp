#include "watchdog_text.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace zema {

const char* WatchdogShortName(const char* text) {
    if (!text) return "null";
    if (const char* slash = std::strrchr(text, '/')) return slash + 1;
    if (const char* backslash = std::strrchr(text, '\\')) return backslash + 1;
    return text;
}

ElapsedText::ElapsedText(std::uint64_t milliseconds) {
    std::snprintf(text, sizeof text, "%" PRIu64 ".%03" PRIu64 "s", milliseconds / 1000u,
                  milliseconds % 1000u);
}

}  // namespace zema
