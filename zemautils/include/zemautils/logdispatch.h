#ifndef ZEMAUTILS_LOGDISPATCH_H
#define ZEMAUTILS_LOGDISPATCH_H

/* Log message dispatch: each message is formatted once (at most 1999 characters), copied to the
 * trace output under module 23 whatever the trace levels, and handed to the registered log
 * callback and then the database log callback. Without a database callback a console line
 * "<module> <LEVEL>: <message>" goes to standard output. No lock is taken: register callbacks
 * before other threads log; callbacks run on the logging thread. */

#include <stdarg.h>
#include <stdint.h>
#include <zemautils/export.h>

ZEMA_BEGIN_C

/* Message levels; 0 and values above 5 print as "UNKOWN". */
enum { ZEMA_LOG_ERROR = 1, ZEMA_LOG_WARNING = 2, ZEMA_LOG_INFO = 3, ZEMA_LOG_DEBUG = 4, ZEMA_LOG_TRACE = 5 };

/* The sinks receive the level, the module text (NULL when none), value A, value B (passed through
 * unchanged), the formatted message and the user value given at registration. Both sinks have one
 * declaration, so one function can be registered as either. The database callback returns 0 when
 * it stored the message; the result of the log callback is not used. */
typedef int32_t (*ZEMALogCallback)(uint32_t level, const char* module, int32_t valueA, int32_t valueB,
                                   const char* message, void* userValue);
typedef ZEMALogCallback ZEMADBLogCallback;

/* Registers (or with NULL removes) a sink; 0. */
ZEMA_API int32_t ZEMARegisterLogCallback(ZEMALogCallback callback, void* userValue);
ZEMA_API int32_t ZEMARegisterDBLogCallback(ZEMADBLogCallback callback, void* userValue);

/* Fills both places with the registered sink and its user value; 0. */
ZEMA_API int32_t ZEMAGetLogCallback(ZEMALogCallback* callback, void** userValue);
ZEMA_API int32_t ZEMAGetDBLogCallback(ZEMADBLogCallback* callback, void** userValue);

/* Logs a message without module, values A and B zero. Results as ZEMALogMessageModuleV. */
ZEMA_API int32_t ZEMALogMessage(uint32_t level, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
ZEMA_API int32_t ZEMALogMessageV(uint32_t level, const char* format, va_list arguments)
    __attribute__((format(printf, 2, 0)));

/* Logs a message. 0 when handled; non-zero when the database callback refused it ("Log not stored:"
 * is then printed instead of the console line) or standard output could not be flushed. */
ZEMA_API int32_t ZEMALogMessageModule(uint32_t level, const char* module, int32_t valueA, int32_t valueB,
                                      const char* format, ...) __attribute__((format(printf, 5, 6)));
ZEMA_API int32_t ZEMALogMessageModuleV(uint32_t level, const char* module, int32_t valueA, int32_t valueB,
                                       const char* format, va_list arguments)
    __attribute__((format(printf, 5, 0)));

ZEMA_END_C

#endif
