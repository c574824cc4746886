#pragma once
// The subcommands over raw SDP records named by "[--hex] FILE...": each file holds one record, as
// binary bytes or, with --hex, as hexadecimal text.

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::cli {

// The bytes of hexadecimal digit pairs, white space allowed anywhere between digits; nothing when
// another character appears or a digit is left over.
std::optional<std::string> DecodeHexRecord(std::string_view text);

// Runs a subcommand over "[--hex] FILE...": reads the records, then prints the text that render
// makes of each, in the order of the files. --help prints the usage text to out; a wrong argument
// (unknown option, no file) is reported on err with kExitUsage, an unreadable file, bad
// hexadecimal text or a TError of render with kExitFailure, and then nothing is printed.
int RunRecordCommand(const std::vector<std::string>& arguments, std::string_view command,
                     std::string_view usage, std::string (*render)(const std::string& record),
                     std::ostream& out, std::ostream& err);

}  // namespace qm::cli
