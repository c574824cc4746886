#include <zemautils/hashtable.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "hashtable_internal.h"

namespace {

using testing::ElementsAre;
using testing::IsEmpty;

// Values are small integers smuggled through the value pointer.
void* V(std::intptr_t n) {
    return reinterpret_cast<void*>(n);
}
std::intptr_t N(void* value) {
    return reinterpret_cast<std::intptr_t>(value);
}

std::vector<std::intptr_t> g_called;
std::vector<std::string> g_calledKeys;

void Record(void* value, const std::uint8_t* key, std::int32_t keyLength) {
    g_called.push_back(N(value));
    g_calledKeys.emplace_back(reinterpret_cast<const char*>(key), static_cast<std::size_t>(keyLength));
}

// An allocator that fails the allocation with the given number (counted from 1), 0 for never.
int g_allocations = 0;
int g_failAt = 0;

void* CountingAllocate(std::size_t size) {
    return ++g_allocations == g_failAt ? nullptr : std::malloc(size);
}

class HashTable : public testing::Test {
protected:
    void SetUp() override {
        g_called.clear();
        g_calledKeys.clear();
        g_allocations = 0;
        g_failAt = 0;
        zema::SetHashTableAllocator(&CountingAllocate);
    }
    void TearDown() override {
        FreeHashTable(&table_);
        zema::SetHashTableAllocator(nullptr);
    }

    void Make(std::int32_t bucketCount, std::int32_t bound = -1) {
        table_ = CreateHashTableBounded(bucketCount, bound, &Record);
        ASSERT_NE(table_, nullptr);
    }
    std::int32_t Insert(const std::string& key, std::intptr_t value) {
        return InsertRecord(table_, V(value), key.data(), static_cast<std::int32_t>(key.size()));
    }
    std::intptr_t Find(const std::string& key) {
        return N(FindRecord(table_, key.data(), static_cast<std::int32_t>(key.size())));
    }
    void Remove(const std::string& key) {
        RemoveRecord(table_, key.data(), static_cast<std::int32_t>(key.size()));
    }

    std::vector<std::intptr_t> Iterate() {
        std::vector<std::intptr_t> values;
        TNSHashIterator iterator;
        EXPECT_EQ(InitializeHashIterator(table_, &iterator), 0);
        while (void* value = HashInteratorNext(&iterator)) values.push_back(N(value));
        return values;
    }
    // The records in LRU order, most recently used first, by value.
    std::vector<std::intptr_t> LruOrder() const {
        std::vector<std::intptr_t> values;
        for (const TNSLruNode* node = table_->lru.next; node != &table_->lru; node = node->next) {
            values.push_back(N(node->record->value));
        }
        return values;
    }

    TNSHashTable* table_ = nullptr;
};

TEST(HashKey, WorkedValues) {
    struct Case {
        std::string key;
        std::uint32_t hash;
    };
    for (const Case& c :
         {Case{"", 0}, Case{"abc", 4171}, Case{"ABC", 4755}, Case{std::string(12, '\xFF'), 766958821}}) {
        EXPECT_EQ(zema::HashKey(reinterpret_cast<const std::uint8_t*>(c.key.data()),
                                static_cast<std::int32_t>(c.key.size())),
                  c.hash)
            << c.key;
    }
}

TEST_F(HashTable, BoundTwoEvictsTheLeastRecentlyUsed) {
    Make(16, 2);
    ASSERT_EQ(Insert("A", 1), 0);
    ASSERT_EQ(Insert("B", 2), 0);
    EXPECT_EQ(Find("A"), 1);
    EXPECT_THAT(LruOrder(), ElementsAre(1, 2));
    ASSERT_EQ(Insert("C", 3), 0);
    EXPECT_THAT(g_called, ElementsAre(2));
    EXPECT_THAT(g_calledKeys, ElementsAre("B"));
    EXPECT_EQ(Find("A"), 1);
    EXPECT_EQ(Find("B"), 0);
    EXPECT_EQ(Find("C"), 3);
    EXPECT_EQ(table_->recordCount, 2);
    EXPECT_THAT(LruOrder(), ElementsAre(3, 1));
}

TEST_F(HashTable, EvictionRemovesExactlyTheReportedRecordAmongDuplicateKeys) {
    Make(16, 2);
    Insert("K", 1);
    Insert("K", 2);
    Insert("C", 3);
    EXPECT_THAT(g_called, ElementsAre(1));
    EXPECT_EQ(Find("K"), 2);
    Remove("K");
    EXPECT_EQ(Find("K"), 0);
}

TEST_F(HashTable, BoundZeroOrNegativeNeverEvicts) {
    for (std::int32_t bound : {0, -1}) {
        Make(8, bound);
        for (int i = 0; i < 100; ++i) ASSERT_EQ(Insert("key" + std::to_string(i), i + 1), 0);
        EXPECT_EQ(table_->recordCount, 100);
        EXPECT_EQ(Find("key0"), 1);
        EXPECT_THAT(g_called, IsEmpty());
        EXPECT_THAT(LruOrder(), IsEmpty());
        FreeHashTable(&table_);
    }
}

TEST_F(HashTable, DuplicateKeysShadowOlderRecords) {
    for (std::int32_t bound : {-1, 10}) {
        Make(4, bound);
        Insert("K", 1);
        Insert("K", 2);
        EXPECT_EQ(Find("K"), 2);
        Remove("K");
        EXPECT_EQ(Find("K"), 1);
        Remove("K");
        EXPECT_EQ(Find("K"), 0);
        Remove("K");
        EXPECT_EQ(table_->recordCount, 0);
        FreeHashTable(&table_);
    }
}

TEST_F(HashTable, KeysCompareByLengthAndEveryByte) {
    Make(1);
    Insert(std::string("ab"), 1);
    Insert(std::string("ab\0", 3), 2);
    Insert(std::string("\0\0", 2), 3);
    Insert(std::string(), 4);
    EXPECT_EQ(Find(std::string("ab")), 1);
    EXPECT_EQ(Find(std::string("ab\0", 3)), 2);
    EXPECT_EQ(Find(std::string("\0\0", 2)), 3);
    EXPECT_EQ(Find(std::string("\0", 1)), 0);
    EXPECT_EQ(Find(std::string()), 4);
    EXPECT_EQ(Find(std::string("aB")), 0);
}

TEST_F(HashTable, FindCountsLookupsAndHits) {
    Make(8);
    EXPECT_EQ(Find("absent"), 0);
    EXPECT_EQ(table_->lookupCount, 1u);
    EXPECT_EQ(table_->hitCount, 0u);
    Insert("x", 5);
    EXPECT_EQ(Find("x"), 5);
    EXPECT_EQ(table_->lookupCount, 2u);
    EXPECT_EQ(table_->hitCount, 1u);
}

TEST_F(HashTable, ClearCallsBackAndLeavesAnEmptyUsableTable) {
    Make(4, 3);
    Insert("a", 1);
    Insert("b", 2);
    Insert("c", 3);
    Find("a");
    Find("zz");
    ClearHashTable(table_, &Record);
    // Bucket order: "a", "b", "c" hash to 57, 58, 59, buckets 1, 2, 3.
    EXPECT_THAT(g_called, ElementsAre(1, 2, 3));
    EXPECT_EQ(table_->recordCount, 0);
    EXPECT_EQ(table_->hitCount, 0u);
    EXPECT_EQ(table_->lookupCount, 0u);
    EXPECT_THAT(LruOrder(), IsEmpty());
    EXPECT_THAT(Iterate(), IsEmpty());
    ASSERT_EQ(Insert("d", 4), 0);
    EXPECT_EQ(Find("d"), 4);
    ClearHashTable(table_, nullptr);
    EXPECT_EQ(Find("d"), 0);
}

TEST_F(HashTable, IterationGoesByBucketThenNewestFirst) {
    Make(1);
    for (int i = 1; i <= 4; ++i) Insert("k" + std::to_string(i), i);
    EXPECT_THAT(Iterate(), ElementsAre(4, 3, 2, 1));
    FreeHashTable(&table_);

    // "a" to "d" hash to 57 to 60: buckets 1, 2, 3 and 0 of four.
    Make(4);
    Insert("a", 1);
    Insert("b", 2);
    Insert("c", 3);
    Insert("d", 4);
    Insert("e", 5);  // 61: bucket 1, in front of "a"
    EXPECT_THAT(Iterate(), ElementsAre(4, 5, 1, 2, 3));
}

TEST_F(HashTable, IteratorStaysAtTheEnd) {
    Make(3);
    Insert("x", 7);
    TNSHashIterator iterator;
    InitializeHashIterator(table_, &iterator);
    EXPECT_EQ(N(HashInteratorNext(&iterator)), 7);
    EXPECT_EQ(HashInteratorNext(&iterator), nullptr);
    EXPECT_EQ(HashInteratorNext(&iterator), nullptr);
    EXPECT_EQ(iterator.bucket, 3);
}

TEST_F(HashTable, MemoryShortInInsertLeavesTheTableUnchanged) {
    // Unbounded insert allocates one block; a bounded one a block and a node. The bounded table is
    // full, so a failure must not have evicted anything either.
    struct Case {
        std::int32_t bound;
        int failingAllocation;
    };
    for (const Case& c : {Case{-1, 1}, Case{2, 1}, Case{2, 2}}) {
        Make(4, c.bound);
        Insert("a", 1);
        Insert("b", 2);
        const std::vector<std::intptr_t> before = Iterate();
        g_allocations = 0;
        g_failAt = c.failingAllocation;
        EXPECT_EQ(Insert("c", 3), HASH_NO_MEMORY);
        g_failAt = 0;
        EXPECT_EQ(Iterate(), before);
        EXPECT_EQ(table_->recordCount, 2);
        EXPECT_THAT(g_called, IsEmpty());
        if (c.bound > 0) {
            EXPECT_THAT(LruOrder(), ElementsAre(2, 1));
        }
        FreeHashTable(&table_);
    }
}

TEST_F(HashTable, MemoryShortAtCreationReturnsNone) {
    for (int failing : {1, 2}) {
        g_allocations = 0;
        g_failAt = failing;
        EXPECT_EQ(CreateHashTable(16), nullptr);
    }
}

TEST_F(HashTable, GarbledNodeIsLoggedAndTheLookupSucceeds) {
    Make(4, 4);
    Insert("a", 1);
    Insert("b", 2);
    TNSHashRecord* a = table_->buckets[1];
    TNSHashRecord* b = table_->buckets[2];
    a->node->record = b;
    testing::internal::CaptureStdout();
    EXPECT_EQ(Find("a"), 1);
    EXPECT_THAT(testing::internal::GetCapturedStdout(), testing::HasSubstr(" ERROR: Hash Table garbled\n"));
    a->node->record = a;
}

TEST_F(HashTable, RejectsArgumentsThatCannotWork) {
    EXPECT_EQ(CreateHashTable(0), nullptr);
    EXPECT_EQ(CreateHashTableBounded(-5, 2, nullptr), nullptr);
    Make(4);
    EXPECT_EQ(InsertRecord(table_, V(1), "abc", -1), HASH_BAD_ARGUMENT);
    EXPECT_EQ(InsertRecord(table_, V(1), nullptr, 3), HASH_BAD_ARGUMENT);
    EXPECT_EQ(InsertRecord(nullptr, V(1), "abc", 3), HASH_BAD_ARGUMENT);
    EXPECT_EQ(FindRecord(table_, "abc", -1), nullptr);
    RemoveRecord(table_, "abc", -1);
    EXPECT_EQ(table_->recordCount, 0);
}

TEST_F(HashTable, FreeReleasesRemainingRecordsAndClearsThePointer) {
    Make(2, 5);
    Insert("a", 1);
    Insert("b", 2);
    FreeHashTable(&table_);
    EXPECT_EQ(table_, nullptr);
    EXPECT_THAT(g_called, IsEmpty());
    FreeHashTable(&table_);
}

}  // namespace
