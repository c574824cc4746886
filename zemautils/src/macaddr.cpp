// MAC address values. The text reader is hand-written rather than sscanf: it accepts what
// "%lX:%lX:%lX:%lX:%lX:%lX" and "%ld" accept, but numbers of any length are reduced to the bits
// kept (the low byte of a group, the low 32 bits of an identifier) instead of overflowing.

#include <zemautils/macaddr.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

constexpr TMacAddrStruct kNull{{0, 0, 0, 0, 0, 0}, "None", MacTypeNull};
constexpr TMacAddrStruct kZero{{0, 0, 0, 0, 0, 0}, "00:00:00:00:00:00", MacTypeZero};
constexpr TMacAddrStruct kBroadcast{
    {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "FF:FF:FF:FF:FF:FF", MacTypeBroadcast};

constexpr int kGroupCount = 6;

void WarnIfUninitialised(const TMacAddrStruct* value) {
    if (value->type == 0) std::fputs("Use of uninitalized TMacAddr!\n", stdout);
}

std::uint32_t Classify(const std::uint8_t* bytes, std::uint32_t fallbackType) {
    static constexpr std::uint8_t kAllOnes[kGroupCount] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    static constexpr std::uint8_t kAllZero[kGroupCount] = {};
    if (bytes[0] & 0x01) {
        return std::memcmp(bytes, kAllOnes, kGroupCount) == 0 ? MacTypeBroadcast : MacTypeMulticast;
    }
    if (bytes[0] & 0x02) return MacTypeLocal;
    if (std::memcmp(bytes, kAllZero, kGroupCount) != 0) return MacTypeUnicast;
    return fallbackType;
}

// Sets the text and type from the address bytes already in value.
void Describe(TMacAddrStruct* value, std::uint32_t fallbackType) {
    const std::uint32_t type = Classify(value->address, fallbackType);
    if (type == MacTypeNull) {
        *value = kNull;
        return;
    }
    const std::uint8_t* b = value->address;
    std::snprintf(value->text, sizeof value->text, "%02X:%02X:%02X:%02X:%02X:%02X", b[0], b[1], b[2], b[3],
                  b[4], b[5]);
    value->type = type;
}

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexDigitValue(char c) {
    if (IsDecimalDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Skips leading white space and an optional sign; returns whether the sign was a minus.
bool SkipSpaceAndSign(const char*& p) {
    while (IsSpace(*p)) ++p;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    return negative;
}

// Reads one number as %lX does (white space, sign, optional 0x prefix, hex digits), keeping the
// value modulo 2^64. Advances p only on success.
bool ReadHexNumber(const char*& p, std::uint64_t& number) {
    const char* s = p;
    const bool negative = SkipSpaceAndSign(s);
    if (s[0] == '0' && (s[1] == 'x' || s[1] == 'X') && HexDigitValue(s[2]) >= 0) s += 2;
    if (HexDigitValue(*s) < 0) return false;
    std::uint64_t value = 0;
    for (; HexDigitValue(*s) >= 0; ++s) value = value * 16u + static_cast<std::uint64_t>(HexDigitValue(*s));
    number = negative ? 0u - value : value;
    p = s;
    return true;
}

// Reads a leading decimal number as %ld does, keeping its low 32 bits.
bool ReadDecimalNumber(const char* p, std::int32_t& number) {
    const bool negative = SkipSpaceAndSign(p);
    if (!IsDecimalDigit(*p)) return false;
    std::uint32_t value = 0;
    for (; IsDecimalDigit(*p); ++p) value = value * 10u + static_cast<std::uint32_t>(*p - '0');
    number = static_cast<std::int32_t>(negative ? 0u - value : value);
    return true;
}

// Reads up to six colon-separated hex numbers; returns how many were read.
int ReadHexGroups(const char* text, std::uint64_t (&groups)[kGroupCount]) {
    const char* p = text;
    int count = 0;
    while (count < kGroupCount) {
        if (count > 0) {
            if (*p != ':') break;
            ++p;
        }
        if (!ReadHexNumber(p, groups[count])) break;
        ++count;
    }
    return count;
}

}  // namespace

const TMacAddrStruct* MacAddrNull(void) {
    return &kNull;
}

const TMacAddrStruct* MacAddrZero(void) {
    return &kZero;
}

const TMacAddrStruct* MacAddrBroadcast(void) {
    return &kBroadcast;
}

TMacAddrStruct* MacAddrFromBin(TMacAddrStruct* value, const uint8_t bytes[6], uint32_t fallbackType) {
    std::memmove(value->address, bytes, kGroupCount);
    Describe(value, fallbackType);
    return value;
}

TMacAddrStruct* MacAddrFromStr(TMacAddrStruct* value, const char* text) {
    if (text == nullptr || std::strcmp(text, "None") == 0) {
        *value = kNull;
        return value;
    }
    std::uint64_t groups[kGroupCount] = {};
    const int count = ReadHexGroups(text, groups);
    std::int32_t identifier = 0;
    if (count == 1 && ReadDecimalNumber(text, identifier)) return MacAddrFromInt(value, identifier);
    if (count != kGroupCount) {
        *value = kNull;
        return value;
    }
    for (int i = 0; i < kGroupCount; ++i) value->address[i] = static_cast<std::uint8_t>(groups[i] & 0xFFu);
    Describe(value, MacTypeZero);
    return value;
}

TMacAddrStruct* MacAddrFromInt(TMacAddrStruct* value, int32_t n) {
    const auto bits = static_cast<std::uint32_t>(n);
    const std::uint8_t address[kGroupCount] = {0,
                                               0,
                                               static_cast<std::uint8_t>(bits >> 24),
                                               static_cast<std::uint8_t>(bits >> 16),
                                               static_cast<std::uint8_t>(bits >> 8),
                                               static_cast<std::uint8_t>(bits)};
    std::memcpy(value->address, address, kGroupCount);
    std::memset(value->text, 0, sizeof value->text);
    std::snprintf(value->text, sizeof value->text, "%ld", static_cast<long>(n));
    value->type = MacTypeInteger;
    return value;
}

void MacAddrCopy(TMacAddrStruct* destination, const TMacAddrStruct* source) {
    if (source == nullptr) {
        *destination = kNull;
        return;
    }
    WarnIfUninitialised(source);
    *destination = *source;
}

int32_t MacAddrIsSame(const TMacAddrStruct* a, const TMacAddrStruct* b) {
    if (a == nullptr || b == nullptr) return 0;
    WarnIfUninitialised(a);
    WarnIfUninitialised(b);
    if (a->type != b->type) return 0;
    for (int i = kGroupCount - 1; i >= 0; --i) {
        if (a->address[i] != b->address[i]) return 0;
    }
    return 1;
}

int32_t MacAddrIsType(const TMacAddrStruct* value, uint32_t typeMask) {
    if (value == nullptr) return 0;
    WarnIfUninitialised(value);
    return (value->type & typeMask) != 0 ? 1 : 0;
}
