#ifndef ZEMAUTILS_VOCABULARY_H
#define ZEMAUTILS_VOCABULARY_H

/* Wi-Fi code vocabularies: twelve enumerations of what a wireless sensor observes about stations
 * and frames, identified by their property value types 6 to 17. Each offers three views: symbol to
 * value (one lookup per enumeration, symbols compared without regard to ASCII letter case), the
 * ordered list of all symbols (GetSymbolByEnumType) and value to display name, which also iterates
 * over the values in display order (LookupEngineEnumDisplayName). All tables are constant; every
 * function is safe from any thread and writes only the caller's outputs. */

#include <stdint.h>
#include <zemautils/export.h>

ZEMA_BEGIN_C

/* The property value types that carry these enumerations. */
enum {
    PT_ROGUE = 6,
    PT_SUBROGUE = 7,
    PT_AUTH = 8,
    PT_ENC = 9,
    PT_STATION_TYPE = 10,
    PT_REASON_CODE = 11,
    PT_STATION_FLAG = 12,
    PT_NETWORK_PACKET_TYPE = 13,
    PT_FRAME_TYPE = 14,
    PT_EAPOL_TYPE = 15,
    PT_EAPOL_CODE = 16,
    PT_EAP_TYPE = 17
};

enum {
    ENUM_SYMBOL_SLOT_SIZE = 200, /* characters per slot of GetSymbolByEnumType */
    ENUM_SYMBOL_SLOTS_MAX = 34,  /* slots the longest list (frame types) needs, end mark included */
    ENUM_DISPLAY_NAME_SIZE = 32  /* room for the longest display name and its terminator */
};

/* Results of the lookups beside the enumeration values. */
enum {
    ENUM_NOT_FOUND = -1,          /* a symbol lookup found no such symbol */
    ENUM_ITERATION_START = -1000, /* value that starts an iteration in display order */
    ENUM_ITERATION_END = -1001,   /* result after the last value in display order */
    ENUM_UNKNOWN = -1002          /* unknown value type or value */
};

/* Symbol to value, one per enumeration; -1 for a text (or NULL) that is no symbol of it. In the
 * encryption enumeration the symbol "utEncryptionUnknown" also has the value -1. */
ZEMA_API int32_t LookupRogueState(const char* symbol);
ZEMA_API int32_t LookupSubRogueState(const char* symbol);
ZEMA_API int32_t LookupWirelessAuthState(const char* symbol);
ZEMA_API int32_t LookupWirelessEncState(const char* symbol);
ZEMA_API int32_t LookupStationTypeState(const char* symbol);
ZEMA_API int32_t LookupReasonCode(const char* symbol);
ZEMA_API int32_t LookupStationFlag(const char* symbol);
ZEMA_API int32_t LookupNetworkPacketType(const char* symbol);
ZEMA_API int32_t LookupWirelessPacketFrameType(const char* symbol);
ZEMA_API int32_t LookupEAPoLType(const char* symbol);
ZEMA_API int32_t LookupEAPoLCode(const char* symbol);
ZEMA_API int32_t LookupEAPType(const char* symbol);

/* The symbol lookup of value types 6 to 15; -1002 for any other type (16 and 17 included). */
ZEMA_API int32_t LookupCode(int32_t valueType, const char* symbol);

/* Copies the symbols of value type 6 to 15 in list order into consecutive slots, then an empty text
 * into the next slot. Returns 0, or -1 (nothing written) for any other type. The caller provides
 * enough slots: ENUM_SYMBOL_SLOTS_MAX always suffice. */
ZEMA_API int32_t GetSymbolByEnumType(int32_t valueType, char (*slots)[ENUM_SYMBOL_SLOT_SIZE]);

/* For a value of enumeration type 6 to 17: copies its display name into name and its display flag
 * into flag (each only when not NULL) and returns the next value in display order, or -1001 after
 * the last. -1000 starts an iteration: an empty name, flag 0, and the first value. An unknown value
 * or type returns -1002 and writes nothing. name needs ENUM_DISPLAY_NAME_SIZE characters. */
ZEMA_API int32_t LookupEngineEnumDisplayName(int32_t valueType, int32_t value, char* name, int32_t* flag);

ZEMA_END_C

#endif
