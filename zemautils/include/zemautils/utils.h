#ifndef ZEMAUTILS_UTILS_H
#define ZEMAUTILS_UTILS_H

/* Process and network utilities: hexadecimal text to bytes, a command line started in the
 * background, the local interface address with its hardware address, and a TCP reachability
 * test of a database server. Trace lines go to module 9 ("Utils"). No shared state: every
 * function may be called from any thread. */

#include <stdint.h>
#include <zemautils/export.h>

ZEMA_BEGIN_C

/* Result codes. */
enum {
    UTILS_OK = 0,
    UTILS_MEMORY_SHORT = 102,
    UTILS_BAD_ARGUMENT = 106,
    UTILS_CANNOT_RESOLVE = 120,
    UTILS_NOT_FOUND = 144,
    UTILS_CONNECTION_FAILED = 200
};

/* Writes exactly byteCount bytes to out, two hexadecimal digits per byte. Past the end of the text,
 * and for a lone last digit, the byte is 0; a character that is not a hexadecimal digit counts as 0.
 * A NULL text reads as empty. */
ZEMA_API void Hex2Bin(const char* text, uint8_t* out, uint32_t byteCount);

/* Runs commandLine through /bin/sh in a new process group with its input and output on /dev/null,
 * waits up to 15 s for it to end and then leaves it running. The ended process is always reaped,
 * by one library thread for all commands. 0 when the command was started; -1 when it could not
 * be, which includes the shell ending within the wait with 127 (not found) or 126 (not
 * executable). */
ZEMA_API int32_t ExecuteCommand(const char* commandLine);

/* Looks for an IPv4 address (host byte order) on an adapter with a 6-byte hardware address,
 * skipping 0.0.0.0, 255.255.255.255 and 127.0.0.1. *address 0 takes the first usable address and
 * writes it back. hardwareAddress receives the adapter's address (on no match: the last 6-byte
 * adapter's). 0 found, 102 memory short, 106 NULL argument, 120 adapter list unavailable,
 * 144 no match. */
ZEMA_API int32_t ZEMALocalAddress(uint32_t* address, uint8_t hardwareAddress[6]);

/* Tests that server (a host name, or a dotted IPv4 address) accepts a TCP connection on port;
 * nothing is sent. A host name loses one trailing line feed, in the caller's text. 0 connectable,
 * 106 NULL server, 120 name unresolvable or no socket, 200 connection refused or failed. */
ZEMA_API int32_t ZEMACheckDatabaseConnectivity(char* server, uint16_t port);

ZEMA_END_C

#endif
