// Name to tag and back, the known-tag list and the five default lists. The default lists are
// library-wide blocks that stay zero until InitDefaultTags fills them from the named tags of one
// identifier group each (0x04xx station information, 0x05xx wireless packets, 0x06xx network
// packets, 0x07xx channels, 0x09xx stations).

#include <zemautils/tagdirectory.h>

#include <algorithm>
#include <cstddef>
#include <mutex>

#include "ascii_case.h"
#include "tagdirectory_internal.h"

namespace {

template <std::size_t Count>
struct DefaultList {
    uint32_t block[1 + Count];  // leading word (left 0), then the tags
};

DefaultList<PROP_DEFAULT_STATION_INFO_TAG_COUNT> g_stationInfo{};
DefaultList<PROP_DEFAULT_WIRELESS_PACKET_INFO_TAG_COUNT> g_wirelessPacketInfo{};
DefaultList<PROP_DEFAULT_NETWORK_PACKET_INFO_TAG_COUNT> g_networkPacketInfo{};
DefaultList<PROP_DEFAULT_CHANNEL_INFO_TAG_COUNT> g_channelInfo{};
DefaultList<PROP_DEFAULT_STATION_TAG_COUNT> g_station{};
std::once_flag g_defaultsFilled;

constexpr uint32_t Identifier(uint32_t tag) {
    return tag >> 16;
}

// Fills a list with the named tags whose identifier has the given high byte, in identifier order.
template <std::size_t Count>
void FillGroup(DefaultList<Count>& list, uint32_t groupHighByte) {
    uint32_t* tags = list.block + 1;
    std::size_t filled = 0;
    for (const zema::NamedTag& named : zema::NamedTags()) {
        if (Identifier(named.tag) >> 8 != groupHighByte || filled == Count) continue;
        tags[filled++] = named.tag;
    }
    std::sort(tags, tags + filled);
}

void FillDefaultLists() {
    FillGroup(g_stationInfo, 0x04);
    FillGroup(g_wirelessPacketInfo, 0x05);
    FillGroup(g_networkPacketInfo, 0x06);
    FillGroup(g_channelInfo, 0x07);
    FillGroup(g_station, 0x09);
}

const zema::NamedTag* FindDisplayable(uint32_t tag) {
    const auto named = zema::NamedTags();
    const auto found = std::find_if(named.begin(), named.end(), [tag](const zema::NamedTag& n) {
        return n.tag == tag && n.displayName != nullptr;
    });
    return found == named.end() ? nullptr : &*found;
}

void StoreText(const char** place, const char* text) {
    if (place != nullptr) *place = text;
}

template <std::size_t Count>
void StoreList(const uint32_t** place, const DefaultList<Count>& list) {
    if (place != nullptr) *place = list.block;
}

}  // namespace

extern "C" {

uint32_t LookupPropTag(const char* name) {
    for (const zema::NamedTag& named : zema::NamedTags()) {
        if (zema::AsciiEqualIgnoreCase(named.name, name)) return named.tag;
    }
    return PROP_TAG_UNKNOWN;
}

bool ReLookupPropTag(uint32_t tag, const char** name, const char** displayName) {
    const zema::NamedTag* found = FindDisplayable(tag);
    StoreText(name, found ? found->name : "");
    StoreText(displayName, found ? found->displayName : "");
    return found != nullptr;
}

void GetTags(uint32_t* tags) {
    if (tags == nullptr) return;
    const auto known = zema::KnownTags();
    std::copy(known.begin(), known.end(), tags);
    tags[known.size()] = 0;
}

void InitDefaultTags(void) {
    std::call_once(g_defaultsFilled, FillDefaultLists);
}

void GetDefaultStationInfoTags(const uint32_t** list) {
    StoreList(list, g_stationInfo);
}
void GetDefaultWirelessPacketInfoTags(const uint32_t** list) {
    StoreList(list, g_wirelessPacketInfo);
}
void GetDefaultNetworkPacketInfoTags(const uint32_t** list) {
    StoreList(list, g_networkPacketInfo);
}
void GetDefaultChannelInfoTags(const uint32_t** list) {
    StoreList(list, g_channelInfo);
}
void GetDefaultStationTags(const uint32_t** list) {
    StoreList(list, g_station);
}

}  // extern "C"
