#include "quillmark/core/AssignedNumbers.h"

#include <algorithm>
#include <span>

#include "quillmark/core/AssignedNumberTables.h"

namespace qm {

namespace {

using assigned::TAssignedName;

std::optional<std::string_view> Find(std::span<const TAssignedName> table, std::uint16_t value) {
    const auto it =
        std::lower_bound(table.begin(), table.end(), value,
                         [](const TAssignedName& entry, std::uint16_t v) { return entry.value < v; });
    if (it == table.end() || it->value != value) return std::nullopt;
    return it->name;
}

constexpr std::uint16_t kCategoryMask = 0xFFC0;  // bits 6-15; bits 0-5 are the subcategory

}  // namespace

std::optional<std::string_view> CompanyName(std::uint16_t companyId) {
    return Find(assigned::Companies(), companyId);
}

std::optional<std::string_view> AppearanceName(std::uint16_t appearance) {
    if (const auto exact = Find(assigned::Appearances(), appearance)) return exact;
    return Find(assigned::Appearances(), static_cast<std::uint16_t>(appearance & kCategoryMask));
}

std::optional<std::string_view> ServiceName(std::uint16_t uuid) {
    return Find(assigned::Services16(), uuid);
}

}  // namespace qm
