// Big-endian fixed-width integers and base-128 variable-length integers at a caller's cursor.
// Bytes are assembled one at a time, so the buffer needs no particular alignment.

#include <zemautils/netcodec.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr int kVarUIntMaxBytes = 10;
constexpr std::uint8_t kMoreBit = 0x80;
constexpr std::uint8_t kGroupMask = 0x7F;

}  // namespace

uint8_t NetRead8(uint8_t** cursor) {
    return *(*cursor)++;
}

uint16_t NetRead16(uint8_t** cursor) {
    const uint8_t* p = *cursor;
    *cursor += 2;
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

uint32_t NetRead32(uint8_t** cursor) {
    const uint8_t* p = *cursor;
    *cursor += 4;
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}

uint64_t NetRead64(uint8_t** cursor) {
    const uint64_t high = NetRead32(cursor);
    const uint64_t low = NetRead32(cursor);
    return (high << 32) | low;
}

uint64_t NetReadVarUInt(uint8_t** cursor) {
    uint64_t value = 0;
    for (int shift = 0, count = 0; count < kVarUIntMaxBytes; shift += 7, ++count) {
        const uint8_t byte = *(*cursor)++;
        value |= static_cast<uint64_t>(byte & kGroupMask) << shift;
        if ((byte & kMoreBit) == 0) return value;
    }
    return 0;
}

void NetWrite8(uint8_t** cursor, uint8_t value) {
    *(*cursor)++ = value;
}

void NetWrite16(uint8_t** cursor, uint16_t value) {
    uint8_t* p = *cursor;
    p[0] = static_cast<uint8_t>(value >> 8);
    p[1] = static_cast<uint8_t>(value);
    *cursor += 2;
}

void NetWrite32(uint8_t** cursor, uint32_t value) {
    uint8_t* p = *cursor;
    p[0] = static_cast<uint8_t>(value >> 24);
    p[1] = static_cast<uint8_t>(value >> 16);
    p[2] = static_cast<uint8_t>(value >> 8);
    p[3] = static_cast<uint8_t>(value);
    *cursor += 4;
}

void NetWrite64(uint8_t** cursor, uint64_t value) {
    NetWrite32(cursor, static_cast<uint32_t>(value >> 32));
    NetWrite32(cursor, static_cast<uint32_t>(value));
}

void NetWritVarUInt(uint8_t** cursor, uint64_t value) {
    uint8_t* p = *cursor;
    while (value > kGroupMask) {
        *p++ = static_cast<uint8_t>((value & kGroupMask) | kMoreBit);
        value >>= 7;
    }
    *p++ = static_cast<uint8_t>(value);
    *cursor = p;
}

void NetWriteMem(uint8_t** cursor, const void* source, size_t count) {
    if (count == 0) return;
    std::memcpy(*cursor, source, count);
    *cursor += count;
}

void NetWriteStr(uint8_t** cursor, const char* text, int32_t withTerminator) {
    const size_t length = std::strlen(text) + (withTerminator != 0 ? 1 : 0);
    NetWriteMem(cursor, text, length);
}
