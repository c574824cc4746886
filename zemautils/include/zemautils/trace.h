#ifndef ZEMAUTILS_TRACE_H
#define ZEMAUTILS_TRACE_H

/* Tracing: diagnostic lines in one trace file per process, switched per module by levels read
 * from "trace.conf". A caller tests the module's level itself with TraceModuleLevel (a level-L
 * point is on when the level is at least L; an entry/exit point when bit 7 is set), then writes
 * the line with TracePrintTag, its text through TracePrintf, and a final "\n". Nothing here ends a
 * line for the caller, and nothing takes a lock. */

#include <stdint.h>
#include <zemautils/export.h>

ZEMA_BEGIN_C

enum { TRACE_MODULE_COUNT = 24 };

/* Module numbers used across the product. */
enum {
    TRACE_MODULE_ZEMASENSOR = 0,
    TRACE_MODULE_ENGINE = 3,
    TRACE_MODULE_UTILS = 9,
    TRACE_MODULE_BLUETOOTH = 15,
    TRACE_MODULE_UNKNOWN = 23
};

/* Result codes. */
enum { TRACE_OK = 0, TRACE_BAD_ARGUMENT = 106, TRACE_CANNOT_OPEN = 120 };

/* Level per module, all 0 at load; written by TraceLevel. Read it through TraceModuleLevel. */
ZEMA_API extern int32_t TraceEnabled[TRACE_MODULE_COUNT];

/* The level of a module (0-23). TraceLevel may change a level on another thread at any moment, so
 * the entry is loaded atomically: a plain read of the table would race with that store. The load
 * is relaxed, one memory read like a plain one, and a new level shows at the next test. */
static inline int32_t TraceModuleLevel(int32_t module) {
    return __atomic_load_n(&TraceEnabled[module], __ATOMIC_RELAXED);
}

/* Name per module: its key in the configuration file and the bracketed name in trace lines. */
ZEMA_API extern const char* const TraceModuleNames[TRACE_MODULE_COUNT];

/* Starts tracing to the configured TraceFile if no trace file is open, then loads every module's
 * level from the file (NULL: "trace.conf"). 0, or the error of TraceStart. */
ZEMA_API int32_t TraceLoadConfiguration(const char* configurationFile);

/* Stops an open trace file, then opens the named one and writes the start header. 0, 106 for a
 * missing or empty name, 120 when the file cannot be opened. */
ZEMA_API int32_t TraceStart(const char* traceFile);

/* Writes the stop line and closes the trace file. 0, or 106 when none is open. */
ZEMA_API int32_t TraceStop(void);

/* Moves the write position of an open trace file to its beginning and resets the write count. */
ZEMA_API int32_t TraceReset(void);

/* Sets one module's level. 0, or 106 for a module outside 0-23. */
ZEMA_API int32_t TraceLevel(int32_t module, int32_t level);

/* Writes the tag that opens a trace line: date, time, thread, milliseconds, module, function, line. */
ZEMA_API void TracePrintTag(int32_t module, const char* function, int32_t line);

/* Writes formatted text to the trace file (standard output before any start). */
ZEMA_API void TracePrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

/* Looks a key up in a configuration file. Returns the default or a pointer into a library-wide
 * buffer that stays valid until the next call. */
ZEMA_API const char* ReadConfig(const char* configurationFile, const char* key, const char* defaultValue);

ZEMA_END_C

#endif
