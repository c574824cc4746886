/* Uses every function of the log dispatch, hash table, MAC address, byte-order codec and channel
 * families through the public headers and the shared library alone. Returns 0 when all agree. */

#include <zemautils/channel.h>
#include <zemautils/hashtable.h>
#include <zemautils/logdispatch.h>
#include <zemautils/macaddr.h>
#include <zemautils/netcodec.h>

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

static int failures = 0;

#define CHECK(condition)                                                            \
    do {                                                                            \
        if (!(condition)) {                                                         \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
            ++failures;                                                             \
        }                                                                           \
    } while (0)

/* One sink serves as the log callback and as the database callback: the user value counts its
 * calls and holds what it answers. */
struct SinkCalls {
    int count;
    int32_t answer;
};

static int32_t Sink(uint32_t level, const char* module, int32_t a, int32_t b, const char* message,
                    void* user) {
    struct SinkCalls* calls = (struct SinkCalls*)user;
    const int plain = module == NULL && a == 0 && b == 0;
    const int withModule = module != NULL && strcmp(module, "C") == 0 && a == 1 && b == 2;
    if (level == ZEMA_LOG_INFO && strcmp(message, "c program 7") == 0 && (plain || withModule))
        ++calls->count;
    return calls->answer;
}

static int32_t LogV(uint32_t level, const char* format, ...) {
    va_list arguments;
    int32_t result;
    va_start(arguments, format);
    result = ZEMALogMessageV(level, format, arguments);
    va_end(arguments);
    return result;
}

static int32_t LogModuleV(const char* format, ...) {
    va_list arguments;
    int32_t result;
    va_start(arguments, format);
    result = ZEMALogMessageModuleV(ZEMA_LOG_INFO, "C", 1, 2, format, arguments);
    va_end(arguments);
    return result;
}

static void CheckLogDispatch(void) {
    ZEMALogCallback log = NULL;
    ZEMADBLogCallback db = NULL;
    void* user = NULL;
    struct SinkCalls logCalls = {0, 1}; /* the log sink's answer is not used */
    struct SinkCalls dbCalls = {0, 0};
    CHECK(ZEMARegisterLogCallback(Sink, &logCalls) == 0);
    CHECK(ZEMAGetLogCallback(&log, &user) == 0 && log == Sink && user == &logCalls);
    CHECK(ZEMALogMessage(ZEMA_LOG_INFO, "c program %d", 7) == 0);
    CHECK(LogV(ZEMA_LOG_INFO, "c program %d", 7) == 0);
    CHECK(ZEMARegisterDBLogCallback(Sink, &dbCalls) == 0);
    CHECK(ZEMAGetDBLogCallback(&db, &user) == 0 && db == Sink && user == &dbCalls);
    CHECK(ZEMALogMessageModule(ZEMA_LOG_INFO, "C", 1, 2, "c program %d", 7) == 0);
    CHECK(LogModuleV("c program %d", 7) == 0);
    CHECK(logCalls.count == 4 && dbCalls.count == 2);
    dbCalls.answer = 1;
    CHECK(ZEMALogMessage(ZEMA_LOG_INFO, "c program %d", 7) != 0);
    CHECK(logCalls.count == 5 && dbCalls.count == 3);
    ZEMARegisterLogCallback(NULL, NULL);
    ZEMARegisterDBLogCallback(NULL, NULL);
}

static int evicted = 0;

static void OnEvict(void* value, const uint8_t* key, int32_t keyLength) {
    (void)value;
    (void)key;
    (void)keyLength;
    ++evicted;
}

static void CheckHashTable(void) {
    int one = 1, two = 2, three = 3;
    TNSHashIterator iterator;
    int seen = 0;
    TNSHashTable* table = CreateHashTable(8);
    TNSHashTable* bounded = CreateHashTableBounded(8, 1, OnEvict);
    CHECK(table != NULL && bounded != NULL);
    CHECK(InsertRecord(table, &one, "one", 3) == HASH_OK);
    CHECK(InsertRecord(table, &two, "two", 3) == HASH_OK);
    CHECK(FindRecord(table, "one", 3) == &one);
    RemoveRecord(table, "one", 3);
    CHECK(FindRecord(table, "one", 3) == NULL);
    CHECK(InitializeHashIterator(table, &iterator) == 0);
    while (HashInteratorNext(&iterator) != NULL) ++seen;
    CHECK(seen == 1);
    ClearHashTable(table, NULL);
    FreeHashTable(&table);
    CHECK(table == NULL);

    CHECK(InsertRecord(bounded, &one, "a", 1) == HASH_OK);
    CHECK(InsertRecord(bounded, &three, "b", 1) == HASH_OK);
    CHECK(evicted == 1 && FindRecord(bounded, "a", 1) == NULL && FindRecord(bounded, "b", 1) == &three);
    ClearHashTable(bounded, OnEvict);
    CHECK(evicted == 2);
    FreeHashTable(&bounded);
}

static void CheckMacAddr(void) {
    const uint8_t bytes[6] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    TMacAddrStruct a, b, c;
    CHECK(strcmp(MacAddrNull()->text, "None") == 0);
    CHECK(MacAddrZero()->type == MacTypeZero);
    CHECK(MacAddrBroadcast()->address[5] == 0xFF);
    CHECK(MacAddrFromBin(&a, bytes, MacTypeZero) == &a && a.type == MacTypeUnicast);
    CHECK(MacAddrFromStr(&b, "00:11:22:33:44:55") == &b && strcmp(b.text, "00:11:22:33:44:55") == 0);
    CHECK(MacAddrIsSame(&a, &b) == 1);
    CHECK(MacAddrFromInt(&c, 12345) == &c && strcmp(c.text, "12345") == 0);
    CHECK(MacAddrIsType(&c, MacTypeInteger) == 1);
    MacAddrCopy(&c, &a);
    CHECK(MacAddrIsSame(&c, &a) == 1);
}

/* One cursor writes the buffer and, set back to its start, reads it again. */
static void CheckNetCodec(void) {
    uint8_t buffer[64];
    uint8_t* cursor = buffer;
    NetWrite8(&cursor, 0x12);
    NetWrite16(&cursor, 0xABCD);
    NetWrite32(&cursor, 0x01020304u);
    NetWrite64(&cursor, 0x0102030405060708ull);
    NetWritVarUInt(&cursor, 300);
    NetWriteMem(&cursor, "xy", 2);
    NetWriteStr(&cursor, "z", 1);
    CHECK(cursor - buffer == 1 + 2 + 4 + 8 + 2 + 2 + 2);
    cursor = buffer;
    CHECK(NetRead8(&cursor) == 0x12);
    CHECK(NetRead16(&cursor) == 0xABCD);
    CHECK(NetRead32(&cursor) == 0x01020304u);
    CHECK(NetRead64(&cursor) == 0x0102030405060708ull);
    CHECK(NetReadVarUInt(&cursor) == 300);
    CHECK(memcmp(cursor, "xyz", 4) == 0);
}

static void CheckChannel(void) {
    char description[40];
    CHECK(ZEMAChannelNumberToFrequency(36) == 5180);
    CHECK(ZEMAChannelFrequencyToNumber(5020) == 204);
    CHECK(ZEMAChannelNumberToChannelNumber(240) == 184);
    CHECK(ZEMAChannelConvertAdvertised(36, 4) == 204);
    CHECK(ZEMAChannelDescription(15, description, (int32_t)sizeof description) == description);
    CHECK(strcmp(description, "15/6 - (Atheros Turbo 2.437 GHz)") == 0);
}

int main(void) {
    CheckLogDispatch();
    CheckHashTable();
    CheckMacAddr();
    CheckNetCodec();
    CheckChannel();
    return failures == 0 ? 0 : 1;
}
