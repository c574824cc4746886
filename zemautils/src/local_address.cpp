// The local IPv4 address and the hardware address of the adapter that owns it, from getifaddrs.
// Only adapters with a 6-byte (Ethernet-style) hardware address take part, and the unspecified,
// broadcast and loop-back addresses are never chosen.

#include <zemautils/utils.h>

#include <arpa/inet.h>
#include <linux/if_packet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "local_address_internal.h"

namespace {

constexpr std::size_t kHardwareAddressLength = 6;

bool Skipped(std::uint32_t address) {
    return address == INADDR_ANY || address == INADDR_BROADCAST || address == INADDR_LOOPBACK;
}

// The interface an entry belongs to: an IPv4 entry of a label such as "eth0:1" belongs to "eth0".
std::string InterfaceName(const char* entryName) {
    const std::string name = entryName ? entryName : "";
    return name.substr(0, name.find(':'));
}

zema::NetworkAdapter& AdapterNamed(std::vector<zema::NetworkAdapter>& adapters, const std::string& name) {
    const auto found = std::find_if(adapters.begin(), adapters.end(),
                                    [&](const zema::NetworkAdapter& a) { return a.name == name; });
    if (found != adapters.end()) return *found;
    adapters.push_back({name, {}, {}});
    return adapters.back();
}

}  // namespace

namespace zema {

std::vector<NetworkAdapter> AdaptersFromInterfaceList(const ifaddrs* list) {
    std::vector<NetworkAdapter> adapters;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr) continue;
        const int family = entry->ifa_addr->sa_family;
        if (family != AF_PACKET && family != AF_INET) continue;
        NetworkAdapter& adapter = AdapterNamed(adapters, InterfaceName(entry->ifa_name));
        if (family == AF_PACKET) {
            const auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
            const std::size_t length = std::min<std::size_t>(link->sll_halen, sizeof link->sll_addr);
            adapter.hardwareAddress.assign(link->sll_addr, link->sll_addr + length);
        } else {
            const auto* inet = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
            adapter.ipv4Addresses.push_back(ntohl(inet->sin_addr.s_addr));
        }
    }
    return adapters;
}

std::int32_t FindLocalAddress(const std::vector<NetworkAdapter>& adapters, std::uint32_t* address,
                              std::uint8_t hardwareAddress[6]) {
    for (const NetworkAdapter& adapter : adapters) {
        if (adapter.hardwareAddress.size() != kHardwareAddressLength) continue;
        std::memcpy(hardwareAddress, adapter.hardwareAddress.data(), kHardwareAddressLength);
        for (const std::uint32_t candidate : adapter.ipv4Addresses) {
            if (Skipped(candidate)) continue;
            if (*address == 0) *address = candidate;
            if (*address == candidate) return UTILS_OK;
        }
    }
    return UTILS_NOT_FOUND;
}

}  // namespace zema

extern "C" int32_t ZEMALocalAddress(uint32_t* address, uint8_t hardwareAddress[6]) {
    if (!address || !hardwareAddress) return UTILS_BAD_ARGUMENT;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return errno == ENOMEM ? UTILS_MEMORY_SHORT : UTILS_CANNOT_RESOLVE;
    std::int32_t result = UTILS_OK;
    try {
        result = zema::FindLocalAddress(zema::AdaptersFromInterfaceList(list), address, hardwareAddress);
    } catch (const std::bad_alloc&) {
        result = UTILS_MEMORY_SHORT;
    }
    freeifaddrs(list);
    return result;
}
