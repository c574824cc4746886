#include <zemautils/utils.h>

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <list>
#include <string>
#include <vector>

#include "local_address_internal.h"

namespace {

using zema::NetworkAdapter;
using HardwareAddress = std::array<uint8_t, 6>;

constexpr uint32_t Ipv4(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    return static_cast<uint32_t>(a) << 24 | static_cast<uint32_t>(b) << 16 | static_cast<uint32_t>(c) << 8 |
           d;
}

const HardwareAddress kEth0{0x00, 0x11, 0x22, 0xAA, 0xBB, 0xCC};
const HardwareAddress kWlan0{0x02, 0x42, 0xAC, 0x11, 0x00, 0x02};
const HardwareAddress kUntouched{0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};

std::vector<uint8_t> Bytes(const HardwareAddress& address) {
    return {address.begin(), address.end()};
}

// A machine with a loop-back adapter, a tunnel without hardware address, two Ethernet-style
// adapters and an adapter whose hardware address is not 6 bytes long.
std::vector<NetworkAdapter> Machine() {
    return {
        {"lo", std::vector<uint8_t>(6, 0), {Ipv4(127, 0, 0, 1)}},
        {"tun0", {}, {Ipv4(10, 8, 0, 1)}},
        {"eth0", Bytes(kEth0), {Ipv4(0, 0, 0, 0), Ipv4(192, 168, 1, 10), Ipv4(192, 168, 1, 11)}},
        {"wlan0", Bytes(kWlan0), {Ipv4(255, 255, 255, 255), Ipv4(10, 0, 0, 5)}},
        {"ib0", std::vector<uint8_t>(20, 0x55), {Ipv4(172, 16, 0, 1)}},
    };
}

struct SearchCase {
    const char* name;
    uint32_t wanted;
    int32_t result;
    uint32_t address;
    HardwareAddress hardware;
};

class FindLocalAddressTest : public testing::TestWithParam<SearchCase> {};

TEST_P(FindLocalAddressTest, Search) {
    const SearchCase& c = GetParam();
    uint32_t address = c.wanted;
    HardwareAddress hardware = kUntouched;
    EXPECT_EQ(zema::FindLocalAddress(Machine(), &address, hardware.data()), c.result);
    EXPECT_EQ(address, c.address);
    EXPECT_EQ(hardware, c.hardware);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindLocalAddressTest,
    testing::Values(
        SearchCase{"AnyTakesFirstUsableAddressOfFirst6ByteAdapter", 0, 0, Ipv4(192, 168, 1, 10), kEth0},
        SearchCase{"SecondAddressOfAnAdapter", Ipv4(192, 168, 1, 11), 0, Ipv4(192, 168, 1, 11), kEth0},
        SearchCase{"AddressOfALaterAdapter", Ipv4(10, 0, 0, 5), 0, Ipv4(10, 0, 0, 5), kWlan0},
        SearchCase{"LoopbackNeverMatches", Ipv4(127, 0, 0, 1), 144, Ipv4(127, 0, 0, 1), kWlan0},
        SearchCase{"BroadcastNeverMatches", Ipv4(255, 255, 255, 255), 144, Ipv4(255, 255, 255, 255), kWlan0},
        SearchCase{"AdapterWithoutHardwareAddressIsSkipped", Ipv4(10, 8, 0, 1), 144, Ipv4(10, 8, 0, 1),
                   kWlan0},
        SearchCase{"AdapterWithLongHardwareAddressIsSkipped", Ipv4(172, 16, 0, 1), 144, Ipv4(172, 16, 0, 1),
                   kWlan0}),
    [](const testing::TestParamInfo<SearchCase>& info) { return info.param.name; });

TEST(FindLocalAddress, NoEthernetStyleAdapterLeavesTheHardwareAddressAlone) {
    const std::vector<NetworkAdapter> adapters{{"tun0", {}, {Ipv4(10, 8, 0, 1)}}};
    uint32_t address = 0;
    HardwareAddress hardware = kUntouched;
    EXPECT_EQ(zema::FindLocalAddress(adapters, &address, hardware.data()), 144);
    EXPECT_EQ(address, 0u);
    EXPECT_EQ(hardware, kUntouched);
}

// Builds the entries of an interface list the way getifaddrs links them.
class InterfaceList {
public:
    InterfaceList& Link(const char* name, std::vector<uint8_t> hardware) {
        sockaddr_ll& link = links_.emplace_back();
        link.sll_family = AF_PACKET;
        link.sll_halen = static_cast<unsigned char>(hardware.size());
        std::memcpy(link.sll_addr, hardware.data(), std::min(hardware.size(), sizeof link.sll_addr));
        return Add(name, reinterpret_cast<sockaddr*>(&link));
    }
    InterfaceList& Inet(const char* name, uint32_t address) {
        sockaddr_in& inet = inets_.emplace_back();
        inet.sin_family = AF_INET;
        inet.sin_addr.s_addr = htonl(address);
        return Add(name, reinterpret_cast<sockaddr*>(&inet));
    }
    InterfaceList& Inet6(const char* name) {
        sockaddr_in6& inet6 = inet6s_.emplace_back();
        inet6.sin6_family = AF_INET6;
        return Add(name, reinterpret_cast<sockaddr*>(&inet6));
    }
    InterfaceList& NoAddress(const char* name) { return Add(name, nullptr); }
    const ifaddrs* First() const { return entries_.empty() ? nullptr : &entries_.front(); }

private:
    InterfaceList& Add(const char* name, sockaddr* address) {
        ifaddrs& entry = entries_.emplace_back();
        entry.ifa_name = const_cast<char*>(name);
        entry.ifa_addr = address;
        if (entries_.size() > 1) std::prev(entries_.end(), 2)->ifa_next = &entry;
        return *this;
    }
    std::list<ifaddrs> entries_;
    std::list<sockaddr_ll> links_;
    std::list<sockaddr_in> inets_;
    std::list<sockaddr_in6> inet6s_;
};

TEST(AdaptersFromInterfaceList, GroupsEntriesByInterfaceInOrderOfFirstAppearance) {
    InterfaceList list;
    list.Link("lo", std::vector<uint8_t>(6, 0))
        .Link("eth0", Bytes(kEth0))
        .Link("sit0", {1, 2, 3, 4})
        .NoAddress("dummy0")
        .Inet("lo", Ipv4(127, 0, 0, 1))
        .Inet("eth0", Ipv4(192, 0, 2, 2))
        .Inet6("eth0")
        .Inet("eth0:1", Ipv4(192, 0, 2, 3))
        .Inet("tun0", Ipv4(10, 8, 0, 1));

    const std::vector<NetworkAdapter> adapters = zema::AdaptersFromInterfaceList(list.First());

    ASSERT_EQ(adapters.size(), 4u);
    EXPECT_EQ(adapters[0].name, "lo");
    EXPECT_EQ(adapters[0].hardwareAddress, std::vector<uint8_t>(6, 0));
    EXPECT_EQ(adapters[0].ipv4Addresses, std::vector<uint32_t>{Ipv4(127, 0, 0, 1)});
    EXPECT_EQ(adapters[1].name, "eth0");
    EXPECT_EQ(adapters[1].hardwareAddress, Bytes(kEth0));
    EXPECT_EQ(adapters[1].ipv4Addresses, (std::vector<uint32_t>{Ipv4(192, 0, 2, 2), Ipv4(192, 0, 2, 3)}));
    EXPECT_EQ(adapters[2].name, "sit0");
    EXPECT_EQ(adapters[2].hardwareAddress, (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_TRUE(adapters[2].ipv4Addresses.empty());
    EXPECT_EQ(adapters[3].name, "tun0");
    EXPECT_TRUE(adapters[3].hardwareAddress.empty());
}

TEST(ZEMALocalAddress, LoopbackAddressIsNeverFound) {
    uint32_t address = Ipv4(127, 0, 0, 1);
    HardwareAddress hardware{};
    EXPECT_EQ(ZEMALocalAddress(&address, hardware.data()), 144);
}

TEST(ZEMALocalAddress, MissingArgumentIsRefused) {
    uint32_t address = 0;
    HardwareAddress hardware{};
    EXPECT_EQ(ZEMALocalAddress(nullptr, hardware.data()), 106);
    EXPECT_EQ(ZEMALocalAddress(&address, nullptr), 106);
}

// The hardware address that sysfs gives for an interface, when it is 6 bytes long.
bool SysfsHardwareAddress(const std::string& interface, HardwareAddress* hardware) {
    std::ifstream in("/sys/class/net/" + interface + "/address");
    std::string text;
    unsigned values[6];
    if (!(in >> text) ||
        std::sscanf(text.c_str(), "%x:%x:%x:%x:%x:%x", &values[0], &values[1], &values[2], &values[3],
                    &values[4], &values[5]) != 6 ||
        text.size() != 17)
        return false;
    for (int i = 0; i < 6; ++i) (*hardware)[i] = static_cast<uint8_t>(values[i]);
    return true;
}

struct MachineAddress {
    uint32_t address;
    HardwareAddress hardware;
};

// Usable IPv4 addresses of this machine on interfaces with a 6-byte hardware address.
std::vector<MachineAddress> MachineAddresses() {
    std::vector<MachineAddress> found;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return found;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET) continue;
        const uint32_t address =
            ntohl(reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr);
        std::string name = entry->ifa_name;
        name = name.substr(0, name.find(':'));
        HardwareAddress hardware{};
        if (address != Ipv4(127, 0, 0, 1) && address != 0 && SysfsHardwareAddress(name, &hardware))
            found.push_back({address, hardware});
    }
    freeifaddrs(list);
    return found;
}

TEST(ZEMALocalAddress, FindsAnAddressOfThisMachineWithItsAdaptersHardwareAddress) {
    const std::vector<MachineAddress> addresses = MachineAddresses();
    if (addresses.empty()) GTEST_SKIP() << "this machine has no IPv4 address on an Ethernet-style adapter";
    for (const MachineAddress& expected : addresses) {
        uint32_t address = expected.address;
        HardwareAddress hardware{};
        EXPECT_EQ(ZEMALocalAddress(&address, hardware.data()), 0);
        EXPECT_EQ(hardware, expected.hardware);
    }
}

TEST(ZEMALocalAddress, AnyAddressGivesOneOfThisMachinesAddresses) {
    const std::vector<MachineAddress> addresses = MachineAddresses();
    uint32_t address = 0;
    HardwareAddress hardware{};
    const int32_t result = ZEMALocalAddress(&address, hardware.data());
    if (addresses.empty()) {
        EXPECT_EQ(result, 144);
        return;
    }
    ASSERT_EQ(result, 0);
    const auto match = std::find_if(addresses.begin(), addresses.end(), [&](const MachineAddress& a) {
        return a.address == address && a.hardware == hardware;
    });
    EXPECT_NE(match, addresses.end());
}

}  // namespace
