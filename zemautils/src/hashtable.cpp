// Chained hash table with an optional LRU bound. A record and its key copy share one block; in a
// bounded table each record also owns one node of the circular LRU list, allocated before anything
// changes so that a failed insert leaves the table as it was.

#include <zemautils/hashtable.h>
#include <zemautils/logdispatch.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "hashtable_internal.h"

namespace {

void* SystemAllocate(std::size_t size) {
    return std::malloc(size);
}

std::atomic<zema::HashAllocator> g_allocator{&SystemAllocate};

template <typename T>
T* Allocate(std::size_t size = sizeof(T)) {
    return static_cast<T*>(g_allocator.load(std::memory_order_relaxed)(size));
}

bool IsBounded(const TNSHashTable* table) {
    return table->bound > 0;
}

bool IsValidKey(const void* key, std::int32_t keyLength) {
    return keyLength >= 0 && (key != nullptr || keyLength == 0);
}

bool KeyEquals(const TNSHashRecord* record, std::uint32_t hash, const void* key, std::int32_t keyLength) {
    return record->hash == hash && record->keyLength == keyLength &&
           (keyLength == 0 || std::memcmp(KeyOf(record), key, static_cast<std::size_t>(keyLength)) == 0);
}

std::uint32_t HashOf(const void* key, std::int32_t keyLength) {
    return zema::HashKey(static_cast<const std::uint8_t*>(key), keyLength);
}

TNSHashRecord** BucketOf(const TNSHashTable* table, std::uint32_t hash) {
    return &table->buckets[hash % static_cast<std::uint32_t>(table->bucketCount)];
}

void ResetLru(TNSHashTable* table) {
    table->lru.next = &table->lru;
    table->lru.previous = &table->lru;
    table->lru.record = nullptr;
}

void UnlinkNode(TNSLruNode* node) {
    node->previous->next = node->next;
    node->next->previous = node->previous;
}

void PushFront(TNSHashTable* table, TNSLruNode* node) {
    node->previous = &table->lru;
    node->next = table->lru.next;
    table->lru.next->previous = node;
    table->lru.next = node;
}

// Unlinks the record at *link from its chain and releases it with its node.
void ReleaseRecordAt(TNSHashTable* table, TNSHashRecord** link) {
    TNSHashRecord* record = *link;
    *link = record->next;
    if (record->node != nullptr) {
        UnlinkNode(record->node);
        std::free(record->node);
    }
    std::free(record);
    --table->recordCount;
}

// The link that points at the first record with this key, or nullptr.
TNSHashRecord** FindLink(TNSHashTable* table, const void* key, std::int32_t keyLength) {
    const std::uint32_t hash = HashOf(key, keyLength);
    for (TNSHashRecord** link = BucketOf(table, hash); *link != nullptr; link = &(*link)->next) {
        if (KeyEquals(*link, hash, key, keyLength)) return link;
    }
    return nullptr;
}

// Evicts the least recently used record: exactly that record, even when newer records share its key,
// so the value reported to the owner is the one that leaves the table.
void EvictLeastRecentlyUsed(TNSHashTable* table) {
    TNSLruNode* tail = table->lru.previous;
    if (tail == &table->lru || tail->record == nullptr) return;
    TNSHashRecord* victim = tail->record;
    if (table->onEvict != nullptr) table->onEvict(victim->value, KeyOf(victim), victim->keyLength);
    for (TNSHashRecord** link = BucketOf(table, victim->hash); *link != nullptr; link = &(*link)->next) {
        if (*link == victim) {
            ReleaseRecordAt(table, link);
            return;
        }
    }
}

TNSHashRecord* NewRecord(void* value, const void* key, std::int32_t keyLength) {
    auto* record = Allocate<TNSHashRecord>(sizeof(TNSHashRecord) + static_cast<std::size_t>(keyLength));
    if (record == nullptr) return nullptr;
    *record = TNSHashRecord{nullptr, HashOf(key, keyLength), keyLength, value, nullptr};
    if (keyLength > 0) std::memcpy(record + 1, key, static_cast<std::size_t>(keyLength));
    return record;
}

}  // namespace

namespace zema {

std::uint32_t HashKey(const std::uint8_t* key, std::int32_t keyLength) {
    std::uint32_t h = 0;
    for (std::int32_t i = 0; i < keyLength; ++i) {
        std::uint32_t c = key[i];
        if (c >= 0x60) c -= 0x28;
        // The arithmetic shift of the signed value folds the top bits back in as -8..7.
        h = h * 8u + static_cast<std::uint32_t>(static_cast<std::int32_t>(h) >> 28) + c;
    }
    return h & 0x3FFFFFFFu;
}

void SetHashTableAllocator(HashAllocator allocator) {
    g_allocator.store(allocator != nullptr ? allocator : &SystemAllocate, std::memory_order_relaxed);
}

}  // namespace zema

TNSHashTable* CreateHashTable(int32_t bucketCount) {
    return CreateHashTableBounded(bucketCount, -1, nullptr);
}

TNSHashTable* CreateHashTableBounded(int32_t bucketCount, int32_t bound, TNSHashCallback onEvict) {
    if (bucketCount < 1) return nullptr;
    auto* table = Allocate<TNSHashTable>();
    if (table == nullptr) return nullptr;
    const std::size_t bucketBytes = sizeof(TNSHashRecord*) * static_cast<std::size_t>(bucketCount);
    auto* buckets = Allocate<TNSHashRecord*>(bucketBytes);
    if (buckets == nullptr) {
        std::free(table);
        return nullptr;
    }
    std::memset(static_cast<void*>(buckets), 0, bucketBytes);
    *table = TNSHashTable{buckets, bucketCount, bound, 0, 0, 0, {}, onEvict};
    ResetLru(table);
    return table;
}

int32_t InsertRecord(TNSHashTable* table, void* value, const void* key, int32_t keyLength) {
    if (table == nullptr || !IsValidKey(key, keyLength)) return HASH_BAD_ARGUMENT;
    TNSHashRecord* record = NewRecord(value, key, keyLength);
    if (record == nullptr) return HASH_NO_MEMORY;
    if (IsBounded(table)) {
        auto* node = Allocate<TNSLruNode>();
        if (node == nullptr) {
            std::free(record);
            return HASH_NO_MEMORY;
        }
        if (table->recordCount >= table->bound) EvictLeastRecentlyUsed(table);
        node->record = record;
        record->node = node;
        PushFront(table, node);
    }
    TNSHashRecord** head = BucketOf(table, record->hash);
    record->next = *head;
    *head = record;
    ++table->recordCount;
    return HASH_OK;
}

void* FindRecord(TNSHashTable* table, const void* key, int32_t keyLength) {
    if (table == nullptr) return nullptr;
    ++table->lookupCount;
    if (!IsValidKey(key, keyLength)) return nullptr;
    TNSHashRecord** link = FindLink(table, key, keyLength);
    if (link == nullptr) return nullptr;
    TNSHashRecord* match = *link;
    if (IsBounded(table)) {
        if (match->node == nullptr || match->node->record != match) ZEMALogMessage(1, "Hash Table garbled\n");
        if (match->node != nullptr) {
            UnlinkNode(match->node);
            PushFront(table, match->node);
        }
    }
    ++table->hitCount;
    return match->value;
}

void RemoveRecord(TNSHashTable* table, const void* key, int32_t keyLength) {
    if (table == nullptr || !IsValidKey(key, keyLength)) return;
    TNSHashRecord** link = FindLink(table, key, keyLength);
    if (link != nullptr) ReleaseRecordAt(table, link);
}

void ClearHashTable(TNSHashTable* table, TNSHashCallback callback) {
    if (table == nullptr) return;
    for (std::int32_t i = 0; i < table->bucketCount; ++i) {
        while (const TNSHashRecord* record = table->buckets[i]) {
            if (callback != nullptr) callback(record->value, KeyOf(record), record->keyLength);
            ReleaseRecordAt(table, &table->buckets[i]);
        }
    }
    table->hitCount = 0;
    table->lookupCount = 0;
}

void FreeHashTable(TNSHashTable** table) {
    if (table == nullptr || *table == nullptr) return;
    ClearHashTable(*table, nullptr);
    std::free((*table)->buckets);
    std::free(*table);
    *table = nullptr;
}

int32_t InitializeHashIterator(TNSHashTable* table, TNSHashIterator* iterator) {
    if (table == nullptr || iterator == nullptr) return HASH_BAD_ARGUMENT;
    *iterator = TNSHashIterator{table, -1, nullptr};
    return HASH_OK;
}

void* HashInteratorNext(TNSHashIterator* iterator) {
    if (iterator == nullptr || iterator->table == nullptr) return nullptr;
    const TNSHashTable* table = iterator->table;
    if (iterator->record != nullptr) iterator->record = iterator->record->next;
    while (iterator->record == nullptr) {
        if (iterator->bucket + 1 >= table->bucketCount) {
            iterator->bucket = table->bucketCount;
            return nullptr;
        }
        ++iterator->bucket;
        iterator->record = table->buckets[iterator->bucket];
    }
    return iterator->record->value;
}
