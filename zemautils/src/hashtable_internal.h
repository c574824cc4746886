#pragma once
// The hash table's layout and seams for the library's own tests and benchmarks: the statistics,
// the LRU list, the hash function and the allocator (so memory shortage can be simulated).
// Not exported from the shared library.

#include <zemautils/hashtable.h>

#include <cstddef>
#include <cstdint>

// One node of the circular LRU list, most recently used first. The table's head node has no record.
struct TNSLruNode {
    TNSLruNode* next;
    TNSLruNode* previous;
    TNSHashRecord* record;
};

// A record and its key copy share one block, the key bytes right after the record. The key's hash
// is kept so that a chain walk compares keys only when the hashes agree; a short key usually shares
// the record's cache line.
struct TNSHashRecord {
    TNSHashRecord* next;  // next record of the same bucket chain
    std::uint32_t hash;
    std::int32_t keyLength;
    void* value;
    TNSLruNode* node;  // bounded tables only
};

inline const std::uint8_t* KeyOf(const TNSHashRecord* record) {
    return reinterpret_cast<const std::uint8_t*>(record + 1);
}

struct TNSHashTable {
    TNSHashRecord** buckets;
    std::int32_t bucketCount;
    std::int32_t bound;  // 0 or negative: unbounded
    std::int32_t recordCount;
    std::uint32_t hitCount;     // successful lookups; wraps
    std::uint32_t lookupCount;  // all lookups; wraps
    TNSLruNode lru;
    TNSHashCallback onEvict;
};

namespace zema {

// The hash of a key before reduction to a bucket.
std::uint32_t HashKey(const std::uint8_t* key, std::int32_t keyLength);

using HashAllocator = void* (*)(std::size_t size);

// Replaces the allocator of every table block (nullptr restores malloc). Blocks are released
// with free, so a replacement must allocate compatibly.
void SetHashTableAllocator(HashAllocator allocator);

}  // namespace zema
