#include "quillmark/core/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace qm::trace {

namespace {

std::string FormatV(const char* format, std::va_list arguments) {
    std::va_list copy;
    va_copy(copy, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, arguments);
    return text;
}

}  // namespace

void WriteLine(const char* function, int line, int level, const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    const std::string text = FormatV(format, arguments);
    va_end(arguments);
    TracePrintTag(kModule, function, line);
    TracePrintf("L%d - ", level);
    TracePrintf("%s", text.c_str());
    if (text.empty() || text.back() != '\n') TracePrintf("\n");
}

void WriteEntry(const char* function, int line) {
    TracePrintTag(kModule, function, line);
    TracePrintf(" ==>TRACING Enter ...\n");
}

void WriteExit(const char* function, int line) {
    TracePrintTag(kModule, function, line);
    TracePrintf(" ==>TRACING Exit ...\n");
}

}  // namespace qm::trace
