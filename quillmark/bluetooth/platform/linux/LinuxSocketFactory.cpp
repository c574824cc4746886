#include "quillmark/bluetooth/platform/linux/LinuxSocketFactory.h"

#include <endian.h>
#include <fcntl.h>
#include <poll.h>

#include <cerrno>
#include <cstring>
#include <initializer_list>

#include "quillmark/bluetooth/platform/HciPackets.h"

namespace qm::bt {

namespace {

// The id of the first adapter that is up, or -1 with errno set.
int FirstPoweredAdapter(int fd) {
    kernel::THciDeviceList list{};
    list.count = kernel::kHciMaxDevices;
    if (::ioctl(fd, kernel::kHciGetDeviceList, &list) != 0) return -1;
    for (int i = 0; i < list.count && i < kernel::kHciMaxDevices; ++i)
        if (list.devices[i].options & kernel::kHciDeviceUp) return list.devices[i].id;
    errno = ENODEV;
    return -1;
}

int WaitConnected(int fd, int timeoutMs) {
    pollfd entry{fd, POLLOUT, 0};
    int ready;
    do {
        ready = ::poll(&entry, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) return errno;
    if (ready == 0) return ETIMEDOUT;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) return errno;
    return error;
}

kernel::THciFilter EventFilter(std::initializer_list<std::uint8_t> events) {
    kernel::THciFilter filter{};
    filter.typeMask = 1u << kHciEventPacket;
    for (std::uint8_t event : events) filter.eventMask[event >> 5] |= 1u << (event & 31);
    return filter;
}

// A new raw HCI socket bound to one controller on one channel, or an invalid one with error set.
TUniqueFd BoundHciSocket(unsigned short device, unsigned short channel, int& error) {
    TUniqueFd fd(::socket(kernel::kAfBluetooth, SOCK_RAW | SOCK_CLOEXEC, kernel::kProtoHci));
    const kernel::TSockaddrHci address{kernel::kAfBluetooth, device, channel};
    if (!fd.Valid() || ::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        error = errno;
        return TUniqueFd();
    }
    return fd;
}

}  // namespace

kernel::THciFilter InquiryEventFilter() {
    return EventFilter({hci::kEvInquiryComplete, hci::kEvInquiryResult, hci::kEvRemoteNameComplete,
                        hci::kEvCommandComplete, hci::kEvCommandStatus, hci::kEvInquiryResultRssi,
                        hci::kEvExtendedInquiryResult});
}

kernel::THciFilter LeScanEventFilter() {
    return EventFilter({hci::kEvCommandComplete, hci::kEvCommandStatus, hci::kEvLeMeta});
}

kernel::THciFilter CommandEventFilter() {
    return EventFilter({hci::kEvCommandComplete, hci::kEvCommandStatus});
}

namespace {

// A raw HCI socket on the first powered adapter passing the filter's events.
TUniqueFd OpenFilteredController(const kernel::THciFilter& filter, int& error) {
    TUniqueFd fd(::socket(kernel::kAfBluetooth, SOCK_RAW | SOCK_CLOEXEC, kernel::kProtoHci));
    const int device = fd.Valid() ? FirstPoweredAdapter(fd.Get()) : -1;
    if (device < 0) {
        error = errno;
        return TUniqueFd();
    }
    const kernel::TSockaddrHci address{kernel::kAfBluetooth, static_cast<unsigned short>(device),
                                       kernel::kHciChannelRaw};
    if (::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::setsockopt(fd.Get(), kernel::kSolHci, kernel::kHciFilterOption, &filter, sizeof filter) != 0) {
        error = errno;
        return TUniqueFd();
    }
    return fd;
}

}  // namespace

TUniqueFd TLinuxSocketFactory::OpenController(int& error) {
    return OpenFilteredController(InquiryEventFilter(), error);
}

TUniqueFd TLinuxSocketFactory::OpenLeController(int& error) {
    return OpenFilteredController(LeScanEventFilter(), error);
}

TUniqueFd TLinuxSocketFactory::OpenManagement(int& error) {
    return BoundHciSocket(kernel::kHciDeviceNone, kernel::kHciChannelControl, error);
}

TUniqueFd TLinuxSocketFactory::OpenControllerAt(std::uint16_t index, int& error) {
    TUniqueFd fd = BoundHciSocket(index, kernel::kHciChannelRaw, error);
    const kernel::THciFilter filter = CommandEventFilter();
    if (fd.Valid() &&
        ::setsockopt(fd.Get(), kernel::kSolHci, kernel::kHciFilterOption, &filter, sizeof filter) != 0) {
        error = errno;
        return TUniqueFd();
    }
    return fd;
}

TUniqueFd TLinuxSocketFactory::ConnectSdp(const TBdAddr& address, int timeoutMs, int& error) {
    TUniqueFd fd(
        ::socket(kernel::kAfBluetooth, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, kernel::kProtoL2cap));
    if (!fd.Valid()) {
        error = errno;
        return TUniqueFd();
    }
    kernel::TSockaddrL2 remote{};
    remote.family = kernel::kAfBluetooth;
    remote.psm = htole16(kernel::kSdpPsm);
    address.ToWire(remote.address);
    remote.addressType = kernel::kBdaddrBrEdr;
    int result =
        ::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&remote), sizeof remote) == 0 ? 0 : errno;
    if (result == EINPROGRESS) result = WaitConnected(fd.Get(), timeoutMs);
    if (result == 0 && ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK) != 0)
        result = errno;
    if (result != 0) {
        error = result;
        return TUniqueFd();
    }
    return fd;
}

}  // namespace qm::bt
