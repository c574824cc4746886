#include "service_trace.h"

#include <zemautils/trace.h>

#include <cstdarg>
#include <cstdio>
#include <string>

namespace zema {

void TraceServiceLine(std::int32_t module, std::int32_t level, const char* function, int line,
                      const char* format, ...) {
    if (TraceModuleLevel(module) < level) return;
    std::va_list arguments;
    va_start(arguments, format);
    std::va_list copy;
    va_copy(copy, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0u, '\0');
    if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, arguments);
    va_end(arguments);
    TracePrintTag(module, function, line);
    TracePrintf("L%d - ", level);
    TracePrintf("%s", text.c_str());
    if (text.empty() || text.back() != '\n') TracePrintf("\n");
}

}  // namespace zema
