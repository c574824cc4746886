// quillmark-cli sdp-text: the raw SDP page of a device holding the given service records.

#include <algorithm>

#include "CommandRegistry.h"
#include "RecordFileReader.h"
#include "quillmark/sdp/SdpRecordText.h"

namespace qm::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage: quillmark-cli sdp-text [--hex] FILE...\n"
    "Prints the attribute listing of the SDP service records in the files, in order, as the raw SDP\n"
    "page of a device holding them shows it (zero bytes appear as blanks). Each FILE holds one raw\n"
    "record; with --hex, as hexadecimal text with optional white space.\n";

// Zero bytes of text values show as blanks, as the raw SDP page shows them.
std::string Listing(const std::string& record) {
    std::string text = SDPRecordText(record);
    std::replace(text.begin(), text.end(), '\0', ' ');
    return text;
}

int RunSdpText(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    return RunRecordCommand(arguments, "sdp-text", kUsage, Listing, out, err);
}

const CommandRegistration kRegistration("sdp-text", "print the attribute listing of raw SDP records", kUsage,
                                        RunSdpText);

}  // namespace

}  // namespace qm::cli
