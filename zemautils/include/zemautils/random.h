#ifndef ZEMAUTILS_RANDOM_H
#define ZEMAUTILS_RANDOM_H

/* Random numbers from the kernel's cryptographic source. */

#include <stdint.h>
#include <zemautils/export.h>

ZEMA_BEGIN_C

/* A 32-bit random value. When the source fails, a level-1 line is traced under module 0 and a
 * value of rand() reduced to 0-32767 is returned instead; the next call tries the source again. */
ZEMA_API uint32_t RandomGet32(void);

ZEMA_END_C

#endif
