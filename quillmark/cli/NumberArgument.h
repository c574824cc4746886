#pragma once
// Numbers given on the command line.

#include <cstdint>
#include <optional>
#include <string_view>

namespace qm::cli {

// A decimal number, or a hexadecimal one after "0x" or "0X", of at most maximum; nothing for any
// other text (signs, blanks and trailing characters included).
std::optional<std::uint32_t> ParseNumberArgument(std::string_view text, std::uint32_t maximum);

}  // namespace qm::cli
