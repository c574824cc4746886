// The trace file: a start header, caller-composed lines, and a size limit checked on every
// 1000th write that either rewinds the file (log style other than 0) or stops tracing for the rest
// of the process (log style 0). No lock: the stream's own lock keeps each write in one piece.
// Nothing here allocates: texts are composed in fixed buffers, so memory shortage never reaches
// a caller as an exception.

#include <zemautils/trace.h>
#include <zemautils/timebase.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "read_config.h"

extern "C" {

int32_t TraceEnabled[TRACE_MODULE_COUNT] = {};

const char* const TraceModuleNames[TRACE_MODULE_COUNT] = {
    "ZEMASensor", "Capture",  "Network",  "Engine",    "Database", "Storage",   "Config",   "Alerts",
    "Locator",    "Utils",    "Server",   "Client",    "Console",  "Reports",   "Policy",   "Bluetooth",
    "Wireless",   "Spectrum", "Location", "Scheduler", "Security", "Importer",  "Exporter", "Unknown"};

}  // extern "C"

namespace {

constexpr int32_t kLibraryVersion[4] = {6, 6, 0, 0};
constexpr int32_t kDefaultMaxSize = 2000000000;
constexpr unsigned kSizeCheckInterval = 1000;

std::FILE* g_file = nullptr;
// Counter and flag are shared by every tracing thread without a lock; relaxed atomics keep a
// concurrent update defined (a lost count only delays the next size check).
std::atomic<std::uint32_t> g_calls{0};
std::atomic<bool> g_stopped{false};
int32_t g_maxSize = kDefaultMaxSize;
int32_t g_logStyle = 0;

// The current local time in ctime form: 24 characters and a line feed.
struct CtimeNow {
    char text[32];
    CtimeNow() {
        const std::time_t now = std::time(nullptr);
        if (!ctime_r(&now, text)) std::strcpy(text, "\n");
    }
};

// What happens after every 1000th counted write once the file has grown past the maximum size.
void CheckSizeLimit() {
    const long position = std::ftell(g_file);
    if (position <= g_maxSize) return;
    if (g_logStyle != 0) {
        std::fprintf(g_file, "Trace logging file reached the maximum file size: %d, rewinding to the beginning at %s\n",
                     g_maxSize, CtimeNow().text);
        std::fflush(g_file);
        TraceReset();
    } else {
        std::fprintf(g_file, "Trace logging file reached the maximum file size: %d, stopp logging at %s.\n",
                     g_maxSize, CtimeNow().text);
        std::fflush(g_file);
        g_stopped.store(true, std::memory_order_relaxed);
    }
}

}  // namespace

extern "C" {

int32_t TraceStart(const char* traceFile) {
    // The name may point into ReadConfig's buffer, which the reads below overwrite: keep a copy. A
    // name too long for a path cannot be opened anyway.
    char name[PATH_MAX];
    const bool fits = traceFile && strnlen(traceFile, sizeof name) < sizeof name;
    if (fits) std::strcpy(name, traceFile);
    if (g_file) TraceStop();
    if (!traceFile || traceFile[0] == '\0') return TRACE_BAD_ARGUMENT;
    g_maxSize = zema::ConfigInteger(ReadConfig("trace.conf", "LogMaxSize", "2000000000"));
    g_logStyle = zema::ConfigInteger(ReadConfig("trace.conf", "LogStyle", "0"));
    if (!fits) return TRACE_CANNOT_OPEN;
    // "e": close on exec, so no child process of the host inherits the trace file.
    g_file = std::fopen(name, g_logStyle != 0 ? "wbe" : "ab+e");
    if (!g_file) return TRACE_CANNOT_OPEN;
    std::fprintf(g_file, "Started Tracing %s", CtimeNow().text);
    std::fprintf(g_file, "Version: %d.%d.%d.%d\n", kLibraryVersion[0], kLibraryVersion[1], kLibraryVersion[2],
                 kLibraryVersion[3]);
    std::fprintf(g_file, "Tracing log style: %d, maximum log file size: %d\n", g_logStyle, g_maxSize);
    return TRACE_OK;
}

int32_t TraceStop(void) {
    if (!g_file) return TRACE_BAD_ARGUMENT;
    std::fprintf(g_file, "Stopped Tracing %s", CtimeNow().text);
    std::fclose(g_file);
    g_file = nullptr;
    return TRACE_OK;
}

int32_t TraceReset(void) {
    if (g_file) {
        std::fseek(g_file, 0, SEEK_SET);
        g_calls.store(0, std::memory_order_relaxed);
    }
    return TRACE_OK;
}

int32_t TraceLevel(int32_t module, int32_t level) {
    if (module < 0 || module >= TRACE_MODULE_COUNT) return TRACE_BAD_ARGUMENT;
    __atomic_store_n(&TraceEnabled[module], level, __ATOMIC_RELAXED);
    return TRACE_OK;
}

int32_t TraceLoadConfiguration(const char* configurationFile) {
    const char* file = configurationFile ? configurationFile : "trace.conf";
    // TraceStart copies the name before it reads further keys.
    if (!g_file) {
        if (const int32_t result = TraceStart(ReadConfig(file, "TraceFile", "trace.log"))) return result;
    }
    for (int32_t module = 0; module < TRACE_MODULE_COUNT; ++module)
        TraceLevel(module, zema::ConfigInteger(ReadConfig(file, TraceModuleNames[module], "0")));
    return TRACE_OK;
}

void TracePrintTag(int32_t module, const char* function, int32_t line) {
    const auto milliseconds = static_cast<uint32_t>(TimeGetTicks()) % 1000u;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    // A module number outside the table is named as the unknown module rather than read past it.
    const bool known = module >= 0 && module < TRACE_MODULE_COUNT;
    TracePrintf("%02d-%02d-%04d %02d:%02d:%02d [%04ld] (%03u) [%s]%s:%d ", local.tm_mon + 1, local.tm_mday,
                local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec, static_cast<long>(syscall(SYS_gettid)),
                milliseconds, TraceModuleNames[known ? module : TRACE_MODULE_UNKNOWN], function ? function : "", line);
}

void TracePrintf(const char* format, ...) {
    if (g_stopped.load(std::memory_order_relaxed)) return;
    std::va_list arguments;
    va_start(arguments, format);
    if (!g_file) {
        std::vprintf(format, arguments);
        va_end(arguments);
        return;
    }
    std::vfprintf(g_file, format, arguments);
    va_end(arguments);
    std::fflush(g_file);
    if ((g_calls.fetch_add(1, std::memory_order_relaxed) + 1) % kSizeCheckInterval != 0) return;
    CheckSizeLimit();
}

}  // extern "C"
