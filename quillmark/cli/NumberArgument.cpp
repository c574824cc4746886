#include "NumberArgument.h"

#include <charconv>

namespace qm::cli {

std::optional<std::uint32_t> ParseNumberArgument(std::string_view text, std::uint32_t maximum) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value > maximum)
        return std::nullopt;
    return value;
}

}  // namespace qm::cli
