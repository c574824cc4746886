#ifndef ZEMAUTILS_TIMEBASE_H
#define ZEMAUTILS_TIMEBASE_H

/* Time base: one 64-bit millisecond tick counter per process that never goes backwards and does
 * not wrap, and two sleeping functions built on it. Every function may be called from any thread. */

#include <stdint.h>
#include <zemautils/export.h>

ZEMA_BEGIN_C

/* Milliseconds from an arbitrary start (the system's uptime at the first call). */
ZEMA_API uint64_t TimeGetTicks(void);

/* The same value as TimeGetTicks. */
ZEMA_API uint64_t MillisecondCount(void);

/* Sleeps until the tick count has advanced by at least milliseconds; returns the count read last. */
ZEMA_API uint64_t TimerSleep(uint64_t milliseconds);

/* Keeps a loop at a fixed period. A schedule of 0 is set to now without sleeping; otherwise it
 * sleeps out the rest of the period and advances the schedule by exactly one period, or, when the
 * loop is already late, moves the schedule to now without sleeping. */
ZEMA_API void TimerSleepPollAuto(uint64_t* schedule, uint64_t period);

ZEMA_END_C

#endif
