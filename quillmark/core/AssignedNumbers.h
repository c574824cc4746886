#pragma once
// Names of the Bluetooth SIG's assigned numbers that advertisements carry: company identifiers,
// GAP appearance values and 16-bit service UUIDs. Pure functions over static tables, any thread.
// The chip maker names of the radio information window are ManufacturerName's (BluetoothNames.h).

#include <cstdint>
#include <optional>
#include <string_view>

namespace qm {

// "Apple, Inc." for 0x004C; none for an unassigned identifier.
std::optional<std::string_view> CompanyName(std::uint16_t companyId);

// An appearance's category and subcategory ("Watch: Smartwatch"), the category alone for its
// generic value or an unnamed subcategory ("Watch"), none for an unknown category.
std::optional<std::string_view> AppearanceName(std::uint16_t appearance);

// The service a 16-bit UUID names ("Battery Service" for 0x180F); none when it is not known.
std::optional<std::string_view> ServiceName(std::uint16_t uuid);

}  // namespace qm
