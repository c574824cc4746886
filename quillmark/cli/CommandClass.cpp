// quillmark-cli class: what the system makes of a class of device.

#include <ostream>

#include "CommandRegistry.h"
#include "NumberArgument.h"
#include "quillmark/core/BluetoothNames.h"

namespace qm::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage: quillmark-cli class VALUE\n"
    "VALUE is a 24-bit class of device, decimal or hexadecimal after 0x. Prints its major and minor\n"
    "device class numbers, its description and its device type, one per line.\n";

constexpr std::uint32_t kMaximumClassOfDevice = 0xFFFFFF;

int RunClass(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const TNumberInput input =
        ReadNumberArgument(arguments, kMaximumClassOfDevice, kUsage,
                           "quillmark-cli class: expected one 24-bit class of device (try --help)", out, err);
    if (input.exitStatus) return *input.exitStatus;
    const std::int32_t major = MajorClassOf(input.value);
    const std::int32_t minor = MinorClassOf(input.value);
    out << "major=" << major << "\nminor=" << minor << "\nname=" << DeviceClassName(major, minor)
        << "\ntype=" << DeviceTypeIdentifier(DeviceTypeOfClass(major, minor)) << '\n';
    return kExitOk;
}

const CommandRegistration kRegistration("class", "describe a class of device", kUsage, RunClass);

}  // namespace

}  // namespace qm::cli
