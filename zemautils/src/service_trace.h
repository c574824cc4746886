#pragma once
// One level-L trace line of the library's services (property buffers, utilities, random numbers,
// watchdog): the tag, "L<level> - ", the formatted text and a closing line feed unless the text
// already ends in one. Written only when the module's level is at least the line's level. The
// text is cut at 1999 characters; nothing is allocated.

#include <cstdint>

namespace zema {

void TraceServiceLine(std::int32_t module, std::int32_t level, const char* function, int line,
                      const char* format, ...) __attribute__((format(printf, 5, 6)));

}  // namespace zema
