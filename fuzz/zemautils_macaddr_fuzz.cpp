// Feeds arbitrary text to MacAddrFromStr and checks that every result is a well-formed value whose
// own text reads back as the same value.

#include <zemautils/macaddr.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr std::uint32_t kKnownTypes = MacTypeNull | MacTypeZero | MacTypeUnicast | MacTypeLocal |
                                      MacTypeMulticast | MacTypeBroadcast | MacTypeInteger;

void Require(bool condition) {
    if (!condition) std::abort();
}

void CheckWellFormed(const TMacAddrStruct& value) {
    const std::size_t length = strnlen(value.text, sizeof value.text);
    Require(length < sizeof value.text);
    for (std::size_t i = length; i < sizeof value.text; ++i) Require(value.text[i] == '\0');
    Require(value.type != 0 && (value.type & (value.type - 1)) == 0 && (value.type & kKnownTypes) != 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The reader takes a terminated text; the input becomes one, cut at its first zero byte.
    const std::string text(reinterpret_cast<const char*>(data), size);
    TMacAddrStruct value;
    std::memset(&value, 0xA5, sizeof value);
    MacAddrFromStr(&value, text.c_str());
    CheckWellFormed(value);

    TMacAddrStruct again;
    MacAddrFromStr(&again, value.text);
    Require(std::memcmp(&again, &value, sizeof value) == 0);
    Require(MacAddrIsSame(&again, &value) == 1 && again == value);
    return 0;
}
