#include "quillmark/core/VendorRegistry.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <optional>

#include "quillmark/core/AddressText.h"
#include "quillmark/core/CsvRecords.h"
#include "quillmark/core/Utf8.h"

namespace qm {

namespace {

constexpr std::size_t kAssignmentColumn = 1;
constexpr std::size_t kNameColumn = 2;
constexpr std::uint8_t kLocallyAdministered = 0x02;
// Far above the registry's few megabytes; a larger file is not the registry.
constexpr std::streamsize kMaxRegistryBytes = 64 << 20;

// The value of six hexadecimal digits; none for any other text.
std::optional<std::uint32_t> AssignmentKey(std::string_view digits) {
    std::uint32_t value = 0;
    const char* end = digits.data() + digits.size();
    const auto [at, error] = std::from_chars(digits.data(), end, value, 16);
    if (digits.size() != 6 || error != std::errc() || at != end) return std::nullopt;
    return value;
}

// The first three bytes of an address text; none for any other text.
std::optional<std::uint32_t> AddressPrefix(std::string_view text) {
    const auto bytes = AddressTextBytes(text);
    if (!bytes) return std::nullopt;
    return std::uint32_t{(*bytes)[0]} << 16 | std::uint32_t{(*bytes)[1]} << 8 | (*bytes)[2];
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string ReadRegistryFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    if (!in) return text;
    in.seekg(0, std::ios::end);
    const std::streamsize size = in.tellg();
    if (size <= 0 || size > kMaxRegistryBytes) return text;
    in.seekg(0);
    text.resize(static_cast<std::size_t>(size));
    in.read(text.data(), size);
    text.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return text;
}

}  // namespace

void TVendorRegistry::Add(std::uint32_t key, std::string_view name) const {
    const std::string valid = ValidUtf8(name);
    FEntries.push_back(
        {key, static_cast<std::uint32_t>(FNames.size()), static_cast<std::uint32_t>(valid.size())});
    FNames += valid;
}

// Rows whose assignment is not six hexadecimal digits (the header among them) or whose name is
// empty are skipped; of two rows for one assignment the first counts.
void TVendorRegistry::Load() const {
    const std::string text = ReadRegistryFile(FPath);
    TCsvRecords records(text);
    std::vector<std::string> fields;
    while (records.Next(fields)) {
        if (fields.size() <= kNameColumn) continue;
        const std::string_view assignment = Trimmed(fields[kAssignmentColumn]);
        const std::string_view name = Trimmed(fields[kNameColumn]);
        const std::optional<std::uint32_t> key = AssignmentKey(assignment);
        if (key && !name.empty()) Add(*key, name);
    }
    const auto byKey = [](const TEntry& a, const TEntry& b) { return a.key < b.key; };
    std::stable_sort(FEntries.begin(), FEntries.end(), byKey);
    const auto sameKey = [](const TEntry& a, const TEntry& b) { return a.key == b.key; };
    FEntries.erase(std::unique(FEntries.begin(), FEntries.end(), sameKey), FEntries.end());
    FEntries.shrink_to_fit();
}

std::string_view TVendorRegistry::VendorOf(std::string_view addressText) const {
    const std::optional<std::uint32_t> prefix = AddressPrefix(addressText);
    if (!prefix) return {};
    if ((*prefix >> 16) & kLocallyAdministered) return kRandomAddressVendor;
    std::call_once(FLoaded, [this] { Load(); });
    const auto found =
        std::lower_bound(FEntries.begin(), FEntries.end(), *prefix,
                         [](const TEntry& entry, std::uint32_t key) { return entry.key < key; });
    if (found == FEntries.end() || found->key != *prefix) return {};
    return std::string_view(FNames).substr(found->offset, found->length);
}

const TVendorRegistry& SystemVendorRegistry() {
    static const TVendorRegistry registry([] {
        const char* path = std::getenv("QM_OUI_FILE");
        return std::string(path ? path : kSystemOuiFile);
    }());
    return registry;
}

}  // namespace qm
