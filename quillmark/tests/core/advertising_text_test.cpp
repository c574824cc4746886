// Display texts of advertising data structures: type names and decoded values.

#include "quillmark/core/AdvertisingText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using qm::AdStructureText;
using qm::AdTypeName;
using qm::TAdStructure;

TEST(AdvertisingText, TypeNames) {
    const std::pair<std::uint8_t, const char*> cases[] = {
        {0x01, "Flags"},
        {0x03, "Complete List of 16-bit Service UUIDs"},
        {0x08, "Shortened Local Name"},
        {0x09, "Complete Local Name"},
        {0x0A, "TX Power Level"},
        {0x16, "Service Data - 16-bit UUID"},
        {0x19, "Appearance"},
        {0x21, "Service Data - 128-bit UUID"},
        {0x3D, "3D Information Data"},
        {0xFF, "Manufacturer Specific Data"},
        {0x00, "Unknown (0x00)"},
        {0x13, "Unknown (0x13)"},
        {0xFE, "Unknown (0xFE)"},
    };
    for (const auto& [type, name] : cases) EXPECT_EQ(AdTypeName(type), name);
}

TEST(AdvertisingText, DecodedValues) {
    struct TCase {
        TAdStructure structure;
        const char* text;
    };
    const TCase cases[] = {
        {{0x01, {0x06}}, "LE General Discoverable, BR/EDR Not Supported"},
        {{0x01, {0x1F}},
         "LE Limited Discoverable, LE General Discoverable, BR/EDR Not Supported, LE and BR/EDR Controller, "
         "LE and BR/EDR Host"},
        {{0x01, {0x00}}, "None"},
        {{0x01, {0x82}}, "LE General Discoverable, Reserved (0x80)"},
        {{0x09, {'T', 'a', 'g', 0xC3}}, "Tag\xEF\xBF\xBD"},
        {{0x03, {0x0F, 0x18, 0x34, 0x12}}, "0x180F (Battery Service), 0x1234"},
        {{0x05, {0x0F, 0x18, 0x00, 0x00}}, "0x0000180F (Battery Service)"},
        {{0x02, {0xED, 0xFE}}, "0xFEED (Tile, Inc.)"},
        {{0x0A, {0xF8}}, "-8 dBm"},
        {{0x0A, {0x7F}}, "127 dBm"},
        {{0x19, {0xC2, 0x00}}, "Watch: Smartwatch (0x00C2)"},
        {{0x19, {0xFF, 0xFF}}, "0xFFFF"},
        {{0xFF, {0x4C, 0x00, 0x12, 0x19}}, "Apple, Inc. (0x004C): 12 19"},
        {{0xFF, {0x06, 0x00}}, "Microsoft (0x0006)"},
        {{0xFF, {0xFE, 0xFF, 0x01}}, "0xFFFE: 01"},
        {{0x16, {0xAA, 0xFE, 0x40, 0x01}}, "0xFEAA (Eddystone): 40 01"},
        {{0x20, {0x04, 0x03, 0x02, 0x01, 0xAB}}, "0x01020304: AB"},
        {{0x2A, {0x01, 0xAB}}, "01 AB"},
        {{0x2A, {}}, ""},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(AdStructureText(c.structure), c.text) << AdTypeName(c.structure.type);
}

// Data too short or of a broken length for its type shows as hex, never half decoded.
TEST(AdvertisingText, MalformedValuesAsHex) {
    const std::pair<TAdStructure, const char*> cases[] = {
        {{0x01, {}}, ""},
        {{0x03, {0x0F, 0x18, 0x34}}, "0F 18 34"},
        {{0x0A, {0x01, 0x02}}, "01 02"},
        {{0x19, {0xC2}}, "C2"},
        {{0xFF, {0x4C}}, "4C"},
        {{0x16, {0xAA}}, "AA"},
        {{0x21, {0x01, 0x02, 0x03}}, "01 02 03"},
    };
    for (const auto& [structure, text] : cases)
        EXPECT_EQ(AdStructureText(structure), text) << AdTypeName(structure.type);
}

}  // namespace
