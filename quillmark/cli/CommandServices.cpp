// quillmark-cli services: the service name of each record, as a device's service list shows it.

#include <ostream>

#include "CommandRegistry.h"
#include "RecordFileReader.h"
#include "quillmark/base/Error.h"
#include "quillmark/bluetooth/sdp/SdpRecordText.h"

namespace qm::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage: quillmark-cli services [--hex] FILE...\n"
    "Prints one line per SDP service record: its service name (attribute 0x0100), or \"Unknown\"\n"
    "when it has none. Each FILE holds one raw record; with --hex, as hexadecimal text with optional\n"
    "white space.\n";

constexpr std::uint16_t kServiceNameAttribute = 0x0100;

std::string ServiceName(const std::string& record) {
    std::string name = SDPAttributeText(record, kServiceNameAttribute);
    return name.empty() ? "Unknown" : name;
}

int RunServices(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const TRecordInput input = ReadRecordArguments(arguments, "services", kUsage, out, err);
    if (input.exitStatus) return *input.exitStatus;
    std::string lines;
    try {
        for (const std::string& record : input.records) lines += ServiceName(record) + '\n';
    } catch (const TError& error) {
        err << error.Message() << '\n';
        return kExitFailure;
    }
    out << lines;
    return kExitOk;
}

const CommandRegistration kRegistration("services", "print the service name of each raw SDP record",
                                        RunServices);

}  // namespace

}  // namespace qm::cli
