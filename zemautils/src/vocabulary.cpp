// Symbol lookups, symbol lists and display-order iteration over the constant enumeration tables.
// Symbols are unique within an enumeration whatever their letter case, so a lookup may scan the
// rows in display order and still find what a scan in symbol-list order would find.

#include <zemautils/vocabulary.h>

#include <cstring>

#include "ascii_case.h"
#include "vocabulary_internal.h"

namespace {

using zema::Enumeration;
using zema::EnumRow;

int32_t LookupSymbol(int32_t valueType, const char* symbol) {
    const Enumeration* enumeration = zema::FindEnumeration(valueType);
    for (const EnumRow& row : enumeration->rows) {
        if (row.symbol != nullptr && zema::AsciiEqualIgnoreCase(row.symbol, symbol)) return row.value;
    }
    return ENUM_NOT_FOUND;
}

// Copies a display name; every name fits ENUM_DISPLAY_NAME_SIZE, which the tables' tests check.
void CopyDisplayName(char* name, const char* text) {
    if (name != nullptr) std::strcpy(name, text);
}

void StoreFlag(int32_t* flag, int32_t value) {
    if (flag != nullptr) *flag = value;
}

int32_t FirstValue(const Enumeration& enumeration, char* name, int32_t* flag) {
    CopyDisplayName(name, "");
    StoreFlag(flag, 0);
    return enumeration.rows.front().value;
}

int32_t DescribeAndAdvance(const Enumeration& enumeration, int32_t value, char* name, int32_t* flag) {
    const auto& rows = enumeration.rows;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].value != value) continue;
        CopyDisplayName(name, rows[i].displayName);
        StoreFlag(flag, rows[i].displayFlag);
        return i + 1 < rows.size() ? rows[i + 1].value : ENUM_ITERATION_END;
    }
    return ENUM_UNKNOWN;
}

bool HasSymbolList(int32_t valueType) {
    return valueType >= PT_ROGUE && valueType <= PT_EAPOL_TYPE;
}

}  // namespace

extern "C" {

int32_t LookupRogueState(const char* symbol) {
    return LookupSymbol(PT_ROGUE, symbol);
}
int32_t LookupSubRogueState(const char* symbol) {
    return LookupSymbol(PT_SUBROGUE, symbol);
}
int32_t LookupWirelessAuthState(const char* symbol) {
    return LookupSymbol(PT_AUTH, symbol);
}
int32_t LookupWirelessEncState(const char* symbol) {
    return LookupSymbol(PT_ENC, symbol);
}
int32_t LookupStationTypeState(const char* symbol) {
    return LookupSymbol(PT_STATION_TYPE, symbol);
}
int32_t LookupReasonCode(const char* symbol) {
    return LookupSymbol(PT_REASON_CODE, symbol);
}
int32_t LookupStationFlag(const char* symbol) {
    return LookupSymbol(PT_STATION_FLAG, symbol);
}
int32_t LookupNetworkPacketType(const char* symbol) {
    return LookupSymbol(PT_NETWORK_PACKET_TYPE, symbol);
}
int32_t LookupWirelessPacketFrameType(const char* symbol) {
    return LookupSymbol(PT_FRAME_TYPE, symbol);
}
int32_t LookupEAPoLType(const char* symbol) {
    return LookupSymbol(PT_EAPOL_TYPE, symbol);
}
int32_t LookupEAPoLCode(const char* symbol) {
    return LookupSymbol(PT_EAPOL_CODE, symbol);
}
int32_t LookupEAPType(const char* symbol) {
    return LookupSymbol(PT_EAP_TYPE, symbol);
}

int32_t LookupCode(int32_t valueType, const char* symbol) {
    return HasSymbolList(valueType) ? LookupSymbol(valueType, symbol) : ENUM_UNKNOWN;
}

int32_t GetSymbolByEnumType(int32_t valueType, char (*slots)[ENUM_SYMBOL_SLOT_SIZE]) {
    if (!HasSymbolList(valueType) || slots == nullptr) return -1;
    std::size_t symbols = 0;
    for (const EnumRow& row : zema::FindEnumeration(valueType)->rows) {
        if (row.symbol == nullptr) continue;
        std::strcpy(slots[row.listPosition - 1], row.symbol);
        ++symbols;
    }
    slots[symbols][0] = '\0';
    return 0;
}

int32_t LookupEngineEnumDisplayName(int32_t valueType, int32_t value, char* name, int32_t* flag) {
    const Enumeration* enumeration = zema::FindEnumeration(valueType);
    if (enumeration == nullptr) return ENUM_UNKNOWN;
    if (value == ENUM_ITERATION_START) return FirstValue(*enumeration, name, flag);
    return DescribeAndAdvance(*enumeration, value, name, flag);
}

}  // extern "C"
