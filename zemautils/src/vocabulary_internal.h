#pragma once
// The constant tables behind the Wi-Fi code vocabularies, reachable by the library's own tests.

#include <cstdint>
#include <span>

namespace zema {

// One value of an enumeration. Rows stand in display order; listPosition (1-based) is the place
// of the symbol in the symbol list, 0 when the value has no symbol.
struct EnumRow {
    std::int32_t value;
    const char* symbol;
    std::int32_t listPosition;
    const char* displayName;
    std::int32_t displayFlag;
};

struct Enumeration {
    std::int32_t valueType;
    std::span<const EnumRow> rows;
};

// The enumeration of a value type 6 to 17, or nullptr.
const Enumeration* FindEnumeration(std::int32_t valueType);

}  // namespace zema
