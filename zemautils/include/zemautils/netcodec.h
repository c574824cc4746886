#ifndef ZEMAUTILS_NETCODEC_H
#define ZEMAUTILS_NETCODEC_H

/* Network byte-order codec: cursor-based readers and writers of integers, byte blocks and texts.
 * Fixed-width integers are big-endian; variable-length unsigned integers are base-128 groups,
 * least significant first, bit 7 set on every byte but the last (at most 10 bytes). Each function
 * takes the address of a cursor, works at the cursor and advances it past what it read or wrote.
 * Nothing checks bounds: the caller guarantees the bytes are there (reading) or that there is room
 * (writing). Readers and writers take the same kind of cursor, a pointer to the next byte, so one
 * cursor can write a buffer and, set back to its start, read it again; readers never write
 * through it. */

#include <stddef.h>
#include <stdint.h>
#include <zemautils/export.h>

ZEMA_BEGIN_C

ZEMA_API uint8_t NetRead8(uint8_t** cursor);
ZEMA_API uint16_t NetRead16(uint8_t** cursor);
ZEMA_API uint32_t NetRead32(uint8_t** cursor);
ZEMA_API uint64_t NetRead64(uint8_t** cursor);

/* Reads a variable-length integer of up to 10 bytes. Bits beyond bit 63 are dropped; ten bytes that
 * all have bit 7 set read as 0, with the cursor after them. */
ZEMA_API uint64_t NetReadVarUInt(uint8_t** cursor);

ZEMA_API void NetWrite8(uint8_t** cursor, uint8_t value);
ZEMA_API void NetWrite16(uint8_t** cursor, uint16_t value);
ZEMA_API void NetWrite32(uint8_t** cursor, uint32_t value);
ZEMA_API void NetWrite64(uint8_t** cursor, uint64_t value);

/* Writes a variable-length integer: 1 to 10 bytes. */
ZEMA_API void NetWritVarUInt(uint8_t** cursor, uint64_t value);

/* Copies count bytes from source. */
ZEMA_API void NetWriteMem(uint8_t** cursor, const void* source, size_t count);

/* Copies the text without its terminator, then one zero byte when withTerminator is not 0. */
ZEMA_API void NetWriteStr(uint8_t** cursor, const char* text, int32_t withTerminator);

ZEMA_END_C

#endif
