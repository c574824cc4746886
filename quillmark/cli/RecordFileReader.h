#pragma once
// The raw SDP records that a subcommand reads from the files named by "[--hex] FILE...": each file
// holds one record, as binary bytes or, with --hex, as hexadecimal text.

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::cli {

// The bytes of hexadecimal digit pairs, white space allowed anywhere between digits; nothing when
// another character appears or a digit is left over.
std::optional<std::string> DecodeHexRecord(std::string_view text);

struct TRecordInput {
    std::vector<std::string> records;  // in the order of the files
    std::optional<int> exitStatus;     // set when the command ends here: help shown or an error reported
};

// Reads the records named by the arguments. --help prints the usage text to out; a wrong argument
// (unknown option, no file) is reported on err with kExitUsage, an unreadable file or bad
// hexadecimal text with kExitFailure.
TRecordInput ReadRecordArguments(const std::vector<std::string>& arguments, std::string_view command,
                                 std::string_view usage, std::ostream& out, std::ostream& err);

}  // namespace qm::cli
