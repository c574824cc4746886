#include "NumberArgument.h"

#include <charconv>
#include <ostream>

#include "CommandRegistry.h"

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

TNumberInput ReadNumberArgument(const std::vector<std::string>& arguments, std::uint32_t maximum,
                                std::string_view usage, std::string_view complaint, std::ostream& out,
                                std::ostream& err) {
    TNumberInput input;
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        out << usage;
        input.exitStatus = kExitOk;
        return input;
    }
    const auto value = arguments.size() == 1 ? ParseNumberArgument(arguments[0], maximum) : std::nullopt;
    if (value) {
        input.value = *value;
    } else {
        err << complaint << '\n';
        input.exitStatus = kExitUsage;
    }
    return input;
}

}  // namespace qm::cli
