// quillmark-cli manufacturer: the maker named by a Bluetooth company identifier.

#include <ostream>

#include "CommandRegistry.h"
#include "NumberArgument.h"
#include "quillmark/core/BluetoothNames.h"

namespace qm::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage: quillmark-cli manufacturer ID\n"
    "ID is a 16-bit Bluetooth company identifier, decimal or hexadecimal after 0x. Prints the name\n"
    "of the manufacturer.\n";

constexpr std::uint32_t kMaximumCompanyIdentifier = 0xFFFF;

int RunManufacturer(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const TNumberInput input = ReadNumberArgument(
        arguments, kMaximumCompanyIdentifier, kUsage,
        "quillmark-cli manufacturer: expected one 16-bit company identifier (try --help)", out, err);
    if (input.exitStatus) return *input.exitStatus;
    out << ManufacturerName(static_cast<std::int32_t>(input.value)) << '\n';
    return kExitOk;
}

const CommandRegistration kRegistration("manufacturer", "name the maker of a company identifier", kUsage,
                                        RunManufacturer);

}  // namespace

}  // namespace qm::cli
