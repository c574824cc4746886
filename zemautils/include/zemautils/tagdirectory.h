#ifndef ZEMAUTILS_TAGDIRECTORY_H
#define ZEMAUTILS_TAGDIRECTORY_H

/* Property tag directory: the symbolic names of the property tags ("PR_AP_SIGNAL" and so on, as
 * written in rules and configuration texts), the way back from a tag to its name and display name,
 * the list of every tag the analysis side knows, and five fixed lists of the tags that describe one
 * kind of record. Names compare without regard to ASCII letter case. Every text and list returned
 * is a constant owned by the library. */

#include <stdbool.h>
#include <stdint.h>
#include <zemautils/export.h>

ZEMA_BEGIN_C

enum {
    PROP_TAG_UNKNOWN = 1,      /* LookupPropTag of a name that is not in the directory */
    PROP_KNOWN_TAG_COUNT = 142 /* tags that GetTags writes before its 0 terminator */
};

/* Number of tags in each default list; the tags follow one leading word in the list block. */
enum {
    PROP_DEFAULT_STATION_INFO_TAG_COUNT = 25,
    PROP_DEFAULT_WIRELESS_PACKET_INFO_TAG_COUNT = 13,
    PROP_DEFAULT_NETWORK_PACKET_INFO_TAG_COUNT = 21,
    PROP_DEFAULT_CHANNEL_INFO_TAG_COUNT = 7,
    PROP_DEFAULT_STATION_TAG_COUNT = 19
};

/* The tag of a name (any letter case); PROP_TAG_UNKNOWN (identifier 0, type 1) for an unknown name. */
ZEMA_API uint32_t LookupPropTag(const char* name);

/* For a tag with a display name: true, with *name and *displayName set to library constants.
 * Otherwise false, with both set to empty texts. Either place may be NULL. */
ZEMA_API bool ReLookupPropTag(uint32_t tag, const char** name, const char** displayName);

/* Fills tags[0..141] with every known tag and tags[142] with 0; tags needs room for 143. */
ZEMA_API void GetTags(uint32_t* tags);

/* Fills the five default lists. Before the first call their tags read 0. Safe to call from several
 * threads; the lists should not be read while the first call runs. */
ZEMA_API void InitDefaultTags(void);

/* Each stores the address of a library-wide list block in *list: a leading word, which the
 * library leaves 0, followed by the list's tags in identifier order. */
ZEMA_API void GetDefaultStationInfoTags(const uint32_t** list);
ZEMA_API void GetDefaultWirelessPacketInfoTags(const uint32_t** list);
ZEMA_API void GetDefaultNetworkPacketInfoTags(const uint32_t** list);
ZEMA_API void GetDefaultChannelInfoTags(const uint32_t** list);
ZEMA_API void GetDefaultStationTags(const uint32_t** list);

ZEMA_END_C

#endif
