// Log message dispatch. Registration is kept in relaxed atomics: no lock is taken, yet a
// registration made while another thread logs is not a data race.

#include <zemautils/logdispatch.h>
#include <zemautils/trace.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {

constexpr std::size_t kMessageBufferSize = 2000;

std::atomic<ZEMALogCallback> g_logCallback{nullptr};
std::atomic<void*> g_logUserValue{nullptr};
std::atomic<ZEMADBLogCallback> g_dbLogCallback{nullptr};
std::atomic<void*> g_dbLogUserValue{nullptr};

const char* LevelName(uint32_t level) {
    static constexpr const char* kNames[] = {"UNKOWN", "ERROR", "WARNING", "INFO", "DEBUG", "TRACE"};
    return level < sizeof kNames / sizeof kNames[0] ? kNames[level] : kNames[0];
}

// Formats into the buffer, cutting at its size; a format error leaves an empty text.
void FormatMessage(char (&buffer)[kMessageBufferSize], const char* format, va_list arguments) {
    buffer[0] = '\0';
    if (format == nullptr) return;
    if (std::vsnprintf(buffer, sizeof buffer, format, arguments) < 0) buffer[0] = '\0';
}

void WriteTraceCopy(const char* message) {
    TracePrintTag(TRACE_MODULE_UNKNOWN, "unknown function", 0);
    TracePrintf("%s\n", message);
}

}  // namespace

int32_t ZEMARegisterLogCallback(ZEMALogCallback callback, void* userValue) {
    g_logCallback.store(callback, std::memory_order_relaxed);
    g_logUserValue.store(userValue, std::memory_order_relaxed);
    return 0;
}

int32_t ZEMAGetLogCallback(ZEMALogCallback* callback, void** userValue) {
    *callback = g_logCallback.load(std::memory_order_relaxed);
    *userValue = g_logUserValue.load(std::memory_order_relaxed);
    return 0;
}

int32_t ZEMARegisterDBLogCallback(ZEMADBLogCallback callback, void* userValue) {
    g_dbLogCallback.store(callback, std::memory_order_relaxed);
    g_dbLogUserValue.store(userValue, std::memory_order_relaxed);
    return 0;
}

int32_t ZEMAGetDBLogCallback(ZEMADBLogCallback* callback, void** userValue) {
    *callback = g_dbLogCallback.load(std::memory_order_relaxed);
    *userValue = g_dbLogUserValue.load(std::memory_order_relaxed);
    return 0;
}

int32_t ZEMALogMessage(uint32_t level, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const int32_t result = ZEMALogMessageModuleV(level, nullptr, 0, 0, format, arguments);
    va_end(arguments);
    return result;
}

int32_t ZEMALogMessageV(uint32_t level, const char* format, va_list arguments) {
    return ZEMALogMessageModuleV(level, nullptr, 0, 0, format, arguments);
}

int32_t ZEMALogMessageModule(uint32_t level, const char* module, int32_t valueA, int32_t valueB,
                             const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const int32_t result = ZEMALogMessageModuleV(level, module, valueA, valueB, format, arguments);
    va_end(arguments);
    return result;
}

int32_t ZEMALogMessageModuleV(uint32_t level, const char* module, int32_t valueA, int32_t valueB,
                              const char* format, va_list arguments) {
    char message[kMessageBufferSize];
    FormatMessage(message, format, arguments);
    WriteTraceCopy(message);

    // The log sink's result means nothing: only the database sink reports whether it stored.
    if (ZEMALogCallback log = g_logCallback.load(std::memory_order_relaxed)) {
        static_cast<void>(
            log(level, module, valueA, valueB, message, g_logUserValue.load(std::memory_order_relaxed)));
    }
    if (ZEMADBLogCallback store = g_dbLogCallback.load(std::memory_order_relaxed)) {
        const int32_t refused =
            store(level, module, valueA, valueB, message, g_dbLogUserValue.load(std::memory_order_relaxed));
        if (refused != 0) std::printf("Log not stored: %s\n", message);
        return refused;
    }
    std::printf("%s %s: %s\n", module != nullptr ? module : "", LevelName(level), message);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
