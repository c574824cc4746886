#include "service_trace.h"

#include <zemautils/trace.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace zema {
namespace {

// The text is formatted once into a fixed buffer, so tracing never allocates; a longer text is cut.
constexpr std::size_t kTextCapacity = 2000;

}  // namespace

void TraceServiceLine(std::int32_t module, std::int32_t level, const char* function, int line,
                      const char* format, ...) {
    if (TraceModuleLevel(module) < level) return;
    char text[kTextCapacity];
    std::va_list arguments;
    va_start(arguments, format);
    if (std::vsnprintf(text, sizeof text, format, arguments) < 0) text[0] = '\0';
    va_end(arguments);
    TracePrintTag(module, function, line);
    TracePrintf("L%d - ", level);
    TracePrintf("%s", text);
    const std::size_t length = std::strlen(text);
    if (length == 0 || text[length - 1] != '\n') TracePrintf("\n");
}

}  // namespace zema
