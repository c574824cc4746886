#pragma once
// The device installer that switches the drivers of the present Bluetooth devices, in the shape of
// the platform's device-installer calls: take the set of present devices, walk it by index, set a
// device's property-change parameters, let the class installer apply them, read the device's
// install parameters, release the set. Each failing call gives its error number.

#include <cstddef>
#include <cstdint>

namespace qm::bt {

// The error number of an enumeration past the last device.
inline constexpr std::uint32_t kNoMoreItems = 259;

inline constexpr std::uint32_t kPropertyChangeRequest = 0x12;
inline constexpr std::uint32_t kStateEnable = 1;
inline constexpr std::uint32_t kStateDisable = 2;
inline constexpr std::uint32_t kScopeGlobal = 1;
inline constexpr std::uint32_t kScopeConfigSpecific = 2;

struct TPropertyChangeParams {
    std::uint32_t headerSize = 8;
    std::uint32_t installFunction = kPropertyChangeRequest;
    std::uint32_t stateChange = 0;
    std::uint32_t scope = 0;
    std::uint32_t hardwareProfile = 0;
};
static_assert(sizeof(TPropertyChangeParams) == 20);

class TDeviceInstaller {
public:
    virtual ~TDeviceInstaller() = default;
    // Takes the set of the present Bluetooth devices.
    virtual bool GetClassDevs(std::uint32_t& error) = 0;
    // Whether the set has a device at this index; kNoMoreItems past the last one.
    virtual bool EnumDeviceInfo(std::uint32_t index, std::uint32_t& error) = 0;
    virtual bool SetClassInstallParams(std::uint32_t device, const TPropertyChangeParams& params,
                                       std::size_t size, std::uint32_t& error) = 0;
    virtual bool CallClassInstaller(std::uint32_t function, std::uint32_t device, std::uint32_t& error) = 0;
    virtual bool GetDeviceInstallParams(std::uint32_t device, std::uint32_t& error) = 0;
    virtual void DestroyDeviceInfoList() = 0;
};

}  // namespace qm::bt
