// The kind of an LE random address from its two top bits.

#include "quillmark/core/RandomAddress.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using qm::TRandomAddressKind;

TEST(RandomAddress, KindFromTheTopTwoBits) {
    struct TCase {
        std::uint8_t mostSignificantByte;
        TRandomAddressKind kind;
        const char* name;
    };
    const TCase cases[] = {
        {0xC0, TRandomAddressKind::Static, "Static"},
        {0xFF, TRandomAddressKind::Static, "Static"},
        {0x40, TRandomAddressKind::ResolvablePrivate, "Resolvable private"},
        {0x7F, TRandomAddressKind::ResolvablePrivate, "Resolvable private"},
        {0x00, TRandomAddressKind::NonResolvable, "Non-resolvable private"},
        {0x3F, TRandomAddressKind::NonResolvable, "Non-resolvable private"},
        {0x80, TRandomAddressKind::Reserved, "Reserved"},
        {0xBF, TRandomAddressKind::Reserved, "Reserved"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(qm::RandomAddressKindOf(c.mostSignificantByte), c.kind) << int{c.mostSignificantByte};
        EXPECT_EQ(std::string(qm::RandomAddressKindName(c.kind)), c.name);
    }
}

}  // namespace
