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
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        out << kUsage;
        return kExitOk;
    }
    const auto value =
        arguments.size() == 1 ? ParseNumberArgument(arguments[0], kMaximumClassOfDevice) : std::nullopt;
    if (!value) {
        err << "quillmark-cli class: expected one 24-bit class of device (try --help)\n";
        return kExitUsage;
    }
    const std::int32_t major = MajorClassOf(*value);
    const std::int32_t minor = MinorClassOf(*value);
    out << "major=" << major << "\nminor=" << minor << "\nname=" << DeviceClassName(major, minor)
        << "\ntype=" << DeviceTypeIdentifier(DeviceTypeOfClass(major, minor)) << '\n';
    return kExitOk;
}

const CommandRegistration kRegistration("class", "describe a class of device", RunClass);

}  // namespace

}  // namespace qm::cli
