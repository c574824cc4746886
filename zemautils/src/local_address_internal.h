#pragma once
// The two halves of ZEMALocalAddress, apart so each is tested on its own: the adapter list built
// from the kernel's interface list, and the search through that list.

#include <ifaddrs.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zema {

struct NetworkAdapter {
    std::string name;
    std::vector<std::uint8_t> hardwareAddress;
    std::vector<std::uint32_t> ipv4Addresses;  // host byte order, in the list's order
};

// Groups the entries of an interface list by interface, in the order interfaces first appear: the
// link-layer entry gives the hardware address, the IPv4 entries (of the interface or of one of its
// labels, "eth0:1") the addresses. Throws std::bad_alloc.
std::vector<NetworkAdapter> AdaptersFromInterfaceList(const ifaddrs* list);

// The search of ZEMALocalAddress over an adapter list: 0 or 144.
std::int32_t FindLocalAddress(const std::vector<NetworkAdapter>& adapters, std::uint32_t* address,
                              std::uint8_t hardwareAddress[6]);

}  // namespace zema
