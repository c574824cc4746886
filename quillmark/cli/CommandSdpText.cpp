// quillmark-cli sdp-text: the raw SDP page of a device holding the given service records.

#include <algorithm>
#include <ostream>

#include "CommandRegistry.h"
#include "RecordFileReader.h"
#include "quillmark/base/Error.h"
#include "quillmark/bluetooth/sdp/SdpRecordText.h"

namespace qm::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage: quillmark-cli sdp-text [--hex] FILE...\n"
    "Prints the attribute listing of the SDP service records in the files, in order, as the raw SDP\n"
    "page of a device holding them shows it (zero bytes appear as blanks). Each FILE holds one raw\n"
    "record; with --hex, as hexadecimal text with optional white space.\n";

int RunSdpText(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const TRecordInput input = ReadRecordArguments(arguments, "sdp-text", kUsage, out, err);
    if (input.exitStatus) return *input.exitStatus;
    std::string text;
    try {
        for (const std::string& record : input.records) text += SDPRecordText(record);
    } catch (const TError& error) {
        err << error.Message() << '\n';
        return kExitFailure;
    }
    std::replace(text.begin(), text.end(), '\0', ' ');
    out << text;
    return kExitOk;
}

const CommandRegistration kRegistration("sdp-text", "print the attribute listing of raw SDP records",
                                        RunSdpText);

}  // namespace

}  // namespace qm::cli
