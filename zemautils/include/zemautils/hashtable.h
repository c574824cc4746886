#ifndef ZEMAUTILS_HASHTABLE_H
#define ZEMAUTILS_HASHTABLE_H

/* Hash table: a chained table keyed by byte strings of any length (zero bytes included), mapping
 * each key to one caller-owned value pointer. The table copies keys and never copies, dereferences
 * or frees values. The bucket count is fixed at creation; the table never grows. A bounded table
 * keeps its records in least-recently-used order and, when full, evicts the least recently used
 * record before inserting, telling the owner through the eviction callback. Nothing locks: use a
 * table from one thread at a time (FindRecord changes the table too). */

#include <stdint.h>
#include <zemautils/export.h>

ZEMA_BEGIN_C

typedef struct TNSHashTable TNSHashTable;
typedef struct TNSHashRecord TNSHashRecord;

/* Caller-owned iteration state; valid while the table is not changed. */
typedef struct TNSHashIterator {
    TNSHashTable* table;
    int32_t bucket;        /* -1 before the first step */
    TNSHashRecord* record; /* NULL before the first step */
} TNSHashIterator;

/* Eviction and clearing callback: the value, the key bytes and the key length. */
typedef void (*TNSHashCallback)(void* value, const uint8_t* key, int32_t keyLength);

/* Result codes. */
enum { HASH_OK = 0, HASH_NO_MEMORY = 102, HASH_BAD_ARGUMENT = 106 };

/* A new unbounded table, or NULL when memory is short or bucketCount is below 1. */
ZEMA_API TNSHashTable* CreateHashTable(int32_t bucketCount);

/* A new table holding at most bound records (0 or negative: unbounded); onEvict may be NULL.
 * NULL when memory is short or bucketCount is below 1. */
ZEMA_API TNSHashTable* CreateHashTableBounded(int32_t bucketCount, int32_t bound, TNSHashCallback onEvict);

/* Adds a record in front of any record with the same key. 0; 102 when memory is short (the table is
 * then unchanged); 106 for a negative key length or a missing key or table. */
ZEMA_API int32_t InsertRecord(TNSHashTable* table, void* value, const void* key, int32_t keyLength);

/* The value of the newest record with this key, or NULL. Counts the lookup and, in a bounded
 * table, makes the record the most recently used. */
ZEMA_API void* FindRecord(TNSHashTable* table, const void* key, int32_t keyLength);

/* Removes the newest record with this key without calling back; an absent key changes nothing. */
ZEMA_API void RemoveRecord(TNSHashTable* table, const void* key, int32_t keyLength);

/* Removes every record, bucket by bucket, calling callback (may be NULL) for each, and resets the
 * record, hit and lookup counts. The table stays usable. */
ZEMA_API void ClearHashTable(TNSHashTable* table, TNSHashCallback callback);

/* Releases the table and sets *table to NULL. Values still in it are not visited: clear it first
 * to learn about them. */
ZEMA_API void FreeHashTable(TNSHashTable** table);

/* Starts an iteration; 0 (106 for a missing table or iterator). */
ZEMA_API int32_t InitializeHashIterator(TNSHashTable* table, TNSHashIterator* iterator);

/* The next value (buckets in ascending order, newest first within a bucket), or NULL at the end.
 * A stored NULL value cannot be told from the end. */
ZEMA_API void* HashInteratorNext(TNSHashIterator* iterator);

ZEMA_END_C

#endif
