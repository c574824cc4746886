// quillmark-cli services: the service name of each record, as a device's service list shows it.

#include "CommandRegistry.h"
#include "RecordFileReader.h"
#include "quillmark/sdp/SdpRecordText.h"

namespace qm::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage: quillmark-cli services [--hex] FILE...\n"
    "Prints one line per SDP service record: its service name (attribute 0x0100), or \"Unknown\"\n"
    "when it has none. Each FILE holds one raw record; with --hex, as hexadecimal text with optional\n"
    "white space.\n";

constexpr std::uint16_t kServiceNameAttribute = 0x0100;

std::string ServiceLine(const std::string& record) {
    const std::string name = SDPAttributeText(record, kServiceNameAttribute);
    return (name.empty() ? "Unknown" : name) + '\n';
}

int RunServices(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    return RunRecordCommand(arguments, "services", kUsage, ServiceLine, out, err);
}

const CommandRegistration kRegistration("services", "print the service name of each raw SDP record", kUsage,
                                        RunServices);

}  // namespace

}  // namespace qm::cli
