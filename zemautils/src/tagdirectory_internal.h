#pragma once
// The constant tables behind the property tag directory, reachable by the library's own tests.

#include <cstdint>
#include <span>

namespace zema {

constexpr std::uint32_t Tag(std::uint32_t identifier, std::uint32_t valueType) {
    return identifier << 16 | valueType;
}

// A named tag. displayName is nullptr for the tags that the reverse lookup does not know.
struct NamedTag {
    const char* name;
    std::uint32_t tag;
    const char* displayName;
};

// The named tags in the order in which a name lookup compares them.
std::span<const NamedTag> NamedTags();

// Every tag the analysis side knows, in a fixed order, without the 0 terminator.
std::span<const std::uint32_t> KnownTags();

}  // namespace zema
