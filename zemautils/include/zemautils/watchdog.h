#ifndef ZEMAUTILS_WATCHDOG_H
#define ZEMAUTILS_WATCHDOG_H

/* Thread watchdog. Worker threads register under a name, report signs of life and declare timed
 * sections of work (contracts); a supervisor asks for a one-line status of every thread silent for
 * too long. Up to 32 threads (registrations beyond that are refused with a level-1 trace line under
 * module 3) and 256 open contracts in the process. Names and locations are kept by reference, so
 * callers pass texts that live as long as the process (the thread name is copied, at most 15
 * characters). Every function acts on the calling thread's record; calls from an unregistered
 * thread change nothing. */

#include <stdint.h>
#include <zemautils/export.h>

ZEMA_BEGIN_C

/* An open contract; opaque. */
typedef struct WatchdogContract WatchdogContract;

enum {
    WATCHDOG_MAX_THREADS = 32,
    WATCHDOG_MAX_CONTRACTS = 256,
    /* Size of the buffer WatchdogPrintStatus writes to; it never writes more, terminator included. */
    WATCHDOG_STATUS_SIZE = 8192
};

/* Registers the calling thread, or renames and refreshes it if it is registered (its contracts
 * stay open). */
ZEMA_API void WatchdogRegister(const char* name);

/* Records a sign of life at location and clears the sleeping state. */
ZEMA_API void WatchdogKeepalive(const char* location);

/* Records a sign of life at location and marks the thread sleeping: it is not reported silent
 * until its next registration or keepalive. */
ZEMA_API void WatchdogSleep(const char* location);

/* Opens a contract that should complete within timeoutMilliseconds. NULL for an unregistered
 * thread or when all contracts are open. */
ZEMA_API WatchdogContract* WatchdogContractStart(const char* name, uint32_t timeoutMilliseconds);

/* Closes the thread's most recent contract, tracing a level-1 line under module 3 when it took at
 * least its time-out. Completing any other contract traces that it completed out of order and closes
 * all of the thread's contracts. NULL is ignored. */
ZEMA_API void WatchdogContractComplete(WatchdogContract* contract);

/* Writes to out (WATCHDOG_STATUS_SIZE characters) one entry per registered thread that is not
 * sleeping and has been silent for at least thresholdMilliseconds:
 * " [name: 1.234s pc=0x00401000 (lkr=location)]" or, with open contracts, the contracts from
 * the most recent as "name=elapsed" in place of "lkr=location". */
ZEMA_API void WatchdogPrintStatus(char* out, uint32_t thresholdMilliseconds);

ZEMA_END_C

#endif
