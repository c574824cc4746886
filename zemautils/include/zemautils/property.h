#ifndef ZEMAUTILS_PROPERTY_H
#define ZEMAUTILS_PROPERTY_H

/* Property values and property buffers. A property is a 32-bit tag and a value: bits 31-16 of the
 * tag are the property identifier, bits 15-0 the type of the value. Lists of properties travel
 * between components as byte buffers: one count byte, then each property as its big-endian tag and
 * its value in the form of its type (see OutputToBuffer).
 *
 * The tag layout, the value types, the value union _PV and the type names are plain C. The
 * property class SPropValue and the two buffer functions, which take arrays of it, are C++. */

#include <stdint.h>
#include <zemautils/export.h>
#include <zemautils/macaddr.h>
#include <zemautils/vocabulary.h>

ZEMA_BEGIN_C

#define PROP_TAG(identifier, valueType) (((uint32_t)(identifier) << 16) | ((uint32_t)(valueType)&0xFFFFu))
#define PROP_ID(tag) ((uint32_t)(tag) >> 16)
#define PROP_TYPE(tag) ((uint32_t)(tag)&0xFFFFu)

/* Value types beside the enumerations 6 to 17 of vocabulary.h. */
enum {
    PT_UNSPECIFIED = 0,
    PT_NULL = 1,
    PT_I2 = 2,           /* integer in l */
    PT_LONG = 3,         /* signed 32-bit integer in l */
    PT_FLOAT = 4,        /* flt; one signed byte in buffers */
    PT_DOUBLE = 5,       /* dbl */
    PT_RSSI = 18,        /* rssi: up to 8 entries of 8 bytes */
    PT_TIMESTAMP = 19,   /* no buffer form, nothing owned */
    PT_AP_TIME = 20,     /* no buffer form, nothing owned */
    PT_ERROR = 21,       /* 32-bit code in l */
    PT_BOOLEAN = 22,     /* low 16 bits of ul */
    PT_I8 = 23,          /* li */
    PT_STRING8 = 30,     /* lpszA: terminated 8-bit text */
    PT_MAC_ADDRESS = 31, /* lpMac */
    PT_SENSOR = 32,      /* no buffer form, nothing owned */
    PT_SYS_TIME = 64,    /* no buffer form, nothing owned */
    PT_BINARY = 258      /* bin: counted byte block */
};

enum {
    PROP_RSSI_ENTRY_SIZE = 8,
    PROP_RSSI_MAX_ENTRIES = 8,
    PROP_BUFFER_MAX_PROPERTIES = 255 /* the count is one byte */
};

typedef struct SBinary {
    uint32_t cb;
    const uint8_t* lpb;
} SBinary;

typedef struct SRssiArray {
    uint32_t cValues;         /* number of entries, at most PROP_RSSI_MAX_ENTRIES */
    const uint8_t* lpEntries; /* cValues entries of PROP_RSSI_ENTRY_SIZE bytes */
} SRssiArray;

/* The value of a property; which member holds it follows from the type in the tag. Integers,
 * enumerations, errors and booleans use l (or ul), a float flt. */
typedef union _PV {
    int32_t l;
    uint32_t ul;
    float flt;
    double dbl;
    int64_t li;
    const char* lpszA;
    const TMacAddrStruct* lpMac;
    SBinary bin;
    SRssiArray rssi;
} _PV;

/* The name of a value type ("long", "rogue", "MAC address", ...), or "?" for an unknown type. */
ZEMA_API const char* ExpertVarTypeDisplayName(uint32_t valueType);

ZEMA_END_C

#ifdef __cplusplus

/* A property: a tag and a value. For the types rssi (18), text (30), MAC address (31) and binary
 * (258) the property owns a copy of what the value points to: it copies that data on construction
 * and assignment and releases it on destruction, so the source may go away. The rssi copy is a
 * block of PROP_RSSI_MAX_ENTRIES entries holding at most that many of the source's entries; a text
 * of NULL stays NULL; a binary or rssi value whose pointer is NULL holds no bytes. When memory is
 * short the copy holds no data (a NULL pointer, a count of 0); nothing is thrown. Every other type
 * is copied as it is and owns nothing. Ownership follows the type in the low 16 bits of the tag. */
class ZEMA_API SPropValue {
public:
    SPropValue();
    SPropValue(uint32_t tag, const _PV& value);
    SPropValue(const SPropValue& other);
    SPropValue& operator=(const SPropValue& other);
    ~SPropValue();

    uint32_t GetTag() const;
    /* The value; its pointers stay owned by this property. */
    _PV GetValue() const;

private:
    uint32_t FTag;
    _PV FValue;
};

ZEMA_BEGIN_C

/* Writes count properties into buffer; *size holds the buffer's capacity on entry and the number
 * of bytes written on return. Value forms: types 2, 3, 6-17 and 21 four bytes; 4 one byte, the low
 * 8 bits of the value truncated toward zero (200.0 travels as 0xC8, -75.6 as 0xB5; NaN and
 * magnitudes of 2^31 and more as 0), read back as a signed byte; 22 two bytes; 30 a four-byte
 * length counting the terminator, then the text and its zero; 258 a four-byte length, then the
 * bytes.
 * Properties of any other type are skipped (trace level 5). Writing stops before the first
 * property that does not fit the capacity, or after 255 properties (trace level 1); the count byte
 * holds the number of properties written. A capacity of 0 writes nothing. */
ZEMA_API void OutputToBuffer(uint32_t count, const SPropValue* properties, uint32_t* size, uint8_t* buffer);

/* Reads the length bytes of buffer into a new array of *count properties (the count byte's
 * value), released by the caller with delete[]. Never reads beyond length. An unexpected value
 * type or a property cut short by the end of the buffer ends the parse (trace level 1); the
 * properties read so far are kept and the remaining elements stay default (tag 0). Properties
 * beyond the count are read but not stored; a count that differs from what the buffer holds is
 * traced at level 1. Texts are cut at their first zero byte. An empty buffer, or memory too
 * short for the array, gives *count 0 and *properties NULL. */
ZEMA_API void ParseToProperties(uint32_t length, const uint8_t* buffer, uint32_t* count,
                                SPropValue** properties);

ZEMA_END_C

#endif

#endif
