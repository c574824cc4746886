#pragma once
// Numbers given on the command line.

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::cli {

// A decimal number, or a hexadecimal one after "0x" or "0X", of at most maximum; nothing for any
// other text (signs, blanks and trailing characters included).
std::optional<std::uint32_t> ParseNumberArgument(std::string_view text, std::uint32_t maximum);

struct TNumberInput {
    std::uint32_t value = 0;
    std::optional<int> exitStatus;  // set when the command ends here: help shown or an error reported
};

// The arguments of a subcommand that takes one number VALUE as above. --help (or -h) alone prints
// the usage text to out with kExitOk; anything but one valid VALUE prints the complaint line to
// err with kExitUsage.
TNumberInput ReadNumberArgument(const std::vector<std::string>& arguments, std::uint32_t maximum,
                                std::string_view usage, std::string_view complaint, std::ostream& out,
                                std::ostream& err);

}  // namespace qm::cli
