#pragma once
// The few definitions of the Linux kernel's Bluetooth socket ABI the program needs, written from
// the kernel's user-space interface (include/net/bluetooth in the kernel sources) so that no
// Bluetooth library is linked. Each structure's size is checked against the kernel's.

#include <sys/ioctl.h>
#include <sys/socket.h>

#include <cstdint>

namespace qm::bt::kernel {

inline constexpr int kAfBluetooth = 31;
inline constexpr int kProtoL2cap = 0;
inline constexpr int kProtoHci = 1;
inline constexpr int kSolHci = 0;
inline constexpr int kHciFilterOption = 2;
inline constexpr unsigned short kHciChannelRaw = 0;
inline constexpr unsigned short kHciChannelControl = 3;   // the management channel
inline constexpr unsigned short kHciDeviceNone = 0xFFFF;  // a socket bound to no one controller
inline constexpr unsigned short kSdpPsm = 1;
inline constexpr std::uint8_t kBdaddrBrEdr = 0;
inline constexpr int kHciMaxDevices = 16;
inline constexpr std::uint32_t kHciDeviceUp = 1u << 0;  // bit HCI_UP of a device's flags

struct TSockaddrHci {
    sa_family_t family;
    unsigned short device;
    unsigned short channel;
};
static_assert(sizeof(TSockaddrHci) == 6);

struct TSockaddrL2 {
    sa_family_t family;
    unsigned short psm;       // little-endian
    std::uint8_t address[6];  // least significant byte first
    unsigned short cid;
    std::uint8_t addressType;
};
static_assert(sizeof(TSockaddrL2) == 14);

// struct hci_ufilter: which packet types and events a raw HCI socket receives.
struct THciFilter {
    std::uint32_t typeMask;
    std::uint32_t eventMask[2];
    std::uint16_t opcode;
};
static_assert(sizeof(THciFilter) == 16);

struct THciDeviceRequest {
    std::uint16_t id;
    std::uint32_t options;  // the device's flags
};
static_assert(sizeof(THciDeviceRequest) == 8);

struct THciDeviceList {
    std::uint16_t count;
    THciDeviceRequest devices[kHciMaxDevices];
};
static_assert(sizeof(THciDeviceList) == 4 + 8 * kHciMaxDevices);

// _IOR('H', 210, int)
inline constexpr unsigned long kHciGetDeviceList = _IOR('H', 210, int);
static_assert(kHciGetDeviceList == 0x800448D2);

// _IOW('H', 201, int) and _IOW('H', 202, int): power controller hciN up or down.
inline constexpr unsigned long kHciDeviceUpRequest = _IOW('H', 201, int);
inline constexpr unsigned long kHciDeviceDownRequest = _IOW('H', 202, int);
static_assert(kHciDeviceUpRequest == 0x400448C9);
static_assert(kHciDeviceDownRequest == 0x400448CA);

}  // namespace qm::bt::kernel
