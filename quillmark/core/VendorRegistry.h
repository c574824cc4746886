#pragma once
// The maker of a device, from the first three bytes of its address (the organisationally unique
// identifier), looked up in the IEEE's registry of assignments as Debian's package ieee-data
// installs it ("/usr/share/ieee-data/oui.csv": Registry, Assignment, Organization Name,
// Organization Address). The file is read once, on the first lookup, into a table sorted by
// identifier; lookups are binary searches and safe from any thread. A registry that is missing or
// damaged gives no maker and no failure: lines that do not hold an assignment are skipped.

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

inline constexpr std::string_view kSystemOuiFile = "/usr/share/ieee-data/oui.csv";
// What a locally administered address (a random or private one) gives instead of a maker.
inline constexpr std::string_view kRandomAddressVendor = "(random)";

class TVendorRegistry {
public:
    explicit TVendorRegistry(std::string path) : FPath(std::move(path)) {}
    TVendorRegistry(const TVendorRegistry&) = delete;
    TVendorRegistry& operator=(const TVendorRegistry&) = delete;

    // The maker of the device whose address text is "(00:11:22:AA:BB:CC)": kRandomAddressVendor
    // for a locally administered address, else the organisation's name, or empty when the
    // registry does not name one or the text is not an address. Valid while the registry lives.
    std::string_view VendorOf(std::string_view addressText) const;

private:
    struct TEntry {
        std::uint32_t key;     // the first three address bytes, most significant first
        std::uint32_t offset;  // of the name in FNames
        std::uint32_t length;
    };
    void Load() const;
    void Add(std::uint32_t key, std::string_view name) const;

    std::string FPath;
    mutable std::once_flag FLoaded;
    mutable std::vector<TEntry> FEntries;
    mutable std::string FNames;
};

// The registry of the system, kSystemOuiFile, or the file the environment variable QM_OUI_FILE
// names when it is set.
const TVendorRegistry& SystemVendorRegistry();

}  // namespace qm
