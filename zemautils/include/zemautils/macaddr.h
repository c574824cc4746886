#ifndef ZEMAUTILS_MACADDR_H
#define ZEMAUTILS_MACADDR_H

/* MAC address value: a self-describing 48-bit IEEE 802 address. The value keeps the six address
 * bytes, their text form ready for printing and comparison, and a type that classifies the address.
 * Values are plain data, copied as a whole; every function is safe on different values from any
 * thread. Nothing fails: unreadable text yields the null value. */

#include <stdint.h>
#include <zemautils/export.h>

ZEMA_BEGIN_C

/* Type bits; 0 means the value was never set. */
enum {
    MacTypeNull = 1,       /* no address: text "None" */
    MacTypeZero = 2,       /* the all-zero address read from text */
    MacTypeUnicast = 4,    /* individual, universally administered, not all zero */
    MacTypeLocal = 8,      /* individual, locally administered (bit 1 of the first byte) */
    MacTypeMulticast = 16, /* group address (bit 0 of the first byte), not broadcast */
    MacTypeBroadcast = 32, /* FF:FF:FF:FF:FF:FF */
    MacTypeInteger = 64    /* an integer identifier standing in for an address: text in decimal */
};

typedef struct TMacAddrStruct {
    uint8_t address[6]; /* transmission order, first byte first */
    char text[18];      /* terminated text form; unused characters are zero */
    uint32_t type;      /* one of the MacType values */
} TMacAddrStruct;

/* The library-wide constants: null ("None", type 1), zero ("00:00:00:00:00:00", type 2) and
 * broadcast ("FF:FF:FF:FF:FF:FF", type 32). */
ZEMA_API const TMacAddrStruct* MacAddrNull(void);
ZEMA_API const TMacAddrStruct* MacAddrZero(void);
ZEMA_API const TMacAddrStruct* MacAddrBroadcast(void);

/* Copies six address bytes and classifies them; fallbackType is the type of the all-zero address
 * (MacTypeNull makes it the null value, MacTypeZero the zero value). Returns value. */
ZEMA_API TMacAddrStruct* MacAddrFromBin(TMacAddrStruct* value, const uint8_t bytes[6], uint32_t fallbackType);

/* Reads "hh:hh:hh:hh:hh:hh" (hex numbers of any length and letter case, the low byte of each
 * taken); a single decimal number makes an integer identifier; NULL, "None" and anything else
 * give the null value. Returns value. */
ZEMA_API TMacAddrStruct* MacAddrFromStr(TMacAddrStruct* value, const char* text);

/* An integer identifier: address bytes 0, 0 and n most significant first, text n in decimal,
 * type MacTypeInteger. Returns value. */
ZEMA_API TMacAddrStruct* MacAddrFromInt(TMacAddrStruct* value, int32_t n);

/* Copies source into destination; a NULL source copies the null value. */
ZEMA_API void MacAddrCopy(TMacAddrStruct* destination, const TMacAddrStruct* source);

/* 1 when both values exist, have the same type and the same address bytes, else 0. */
ZEMA_API int32_t MacAddrIsSame(const TMacAddrStruct* a, const TMacAddrStruct* b);

/* 1 when the value exists and its type has a bit of typeMask, else 0. */
ZEMA_API int32_t MacAddrIsType(const TMacAddrStruct* value, uint32_t typeMask);

/* MacAddrCopy, MacAddrIsSame and MacAddrIsType print "Use of uninitalized TMacAddr!" on standard
 * output when handed a value of type 0, and then carry on. */

ZEMA_END_C

#ifdef __cplusplus
#include <cstring>

/* The comparison operators are inline here (nothing of them is exported). They compare the 18 text
 * characters as unsigned bytes and nothing else: hex-pair texts order by address bytes, integer
 * identifiers by their decimal text, and "None" sorts after every hex-pair text. They do not warn
 * about uninitialised values. */
inline int MacAddrTextCompare(const TMacAddrStruct& a, const TMacAddrStruct& b) {
    return std::memcmp(a.text, b.text, sizeof a.text);
}
inline bool operator==(const TMacAddrStruct& a, const TMacAddrStruct& b) {
    return MacAddrTextCompare(a, b) == 0;
}
inline bool operator!=(const TMacAddrStruct& a, const TMacAddrStruct& b) {
    return MacAddrTextCompare(a, b) != 0;
}
inline bool operator<(const TMacAddrStruct& a, const TMacAddrStruct& b) {
    return MacAddrTextCompare(a, b) < 0;
}
inline bool operator<=(const TMacAddrStruct& a, const TMacAddrStruct& b) {
    return MacAddrTextCompare(a, b) <= 0;
}
inline bool operator>(const TMacAddrStruct& a, const TMacAddrStruct& b) {
    return MacAddrTextCompare(a, b) > 0;
}
inline bool operator>=(const TMacAddrStruct& a, const TMacAddrStruct& b) {
    return MacAddrTextCompare(a, b) >= 0;
}
#endif

#endif
