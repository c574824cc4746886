#include "quillmark/bluetooth/platform/linux/LinuxHciDevices.h"

#include <cerrno>

#include "quillmark/bluetooth/platform/UniqueFd.h"
#include "quillmark/bluetooth/platform/linux/KernelBluetoothAbi.h"

namespace qm::bt {

namespace {

class TLinuxHciDevices : public THciDevices {
public:
    int List(std::vector<THciDevice>& devices) override {
        const TUniqueFd fd = HciSocket();
        kernel::THciDeviceList list{};
        list.count = kernel::kHciMaxDevices;
        if (!fd.Valid() || ::ioctl(fd.Get(), kernel::kHciGetDeviceList, &list) != 0) return errno;
        devices.clear();
        for (int i = 0; i < list.count && i < kernel::kHciMaxDevices; ++i)
            devices.push_back({list.devices[i].id, (list.devices[i].options & kernel::kHciDeviceUp) != 0});
        return 0;
    }

    // Powering up a controller that is already up is no failure.
    int SetUp(std::uint16_t index, bool up) override {
        const TUniqueFd fd = HciSocket();
        if (!fd.Valid()) return errno;
        const unsigned long request = up ? kernel::kHciDeviceUpRequest : kernel::kHciDeviceDownRequest;
        if (::ioctl(fd.Get(), request, static_cast<unsigned long>(index)) == 0) return 0;
        return up && errno == EALREADY ? 0 : errno;
    }

private:
    static TUniqueFd HciSocket() {
        return TUniqueFd(::socket(kernel::kAfBluetooth, SOCK_RAW | SOCK_CLOEXEC, kernel::kProtoHci));
    }
};

}  // namespace

std::unique_ptr<THciDevices> MakeLinuxHciDevices() {
    return std::make_unique<TLinuxHciDevices>();
}

}  // namespace qm::bt
