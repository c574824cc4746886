#pragma once
// The generated tables of Bluetooth assigned numbers behind AssignedNumbers.h, each sorted by value.

#include <cstdint>
#include <span>

namespace qm::assigned {

struct TAssignedName {
    std::uint16_t value;
    const char* name;
};

std::span<const TAssignedName> Companies();    // company identifiers
std::span<const TAssignedName> Appearances();  // GAP appearance values, categories and subcategories
std::span<const TAssignedName> Services16();   // 16-bit service UUIDs

}  // namespace qm::assigned
