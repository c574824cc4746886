// The maker of an address from a small registry file in the layout of ieee-data's oui.csv.

#include "quillmark/core/VendorRegistry.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "testsupport/ScopedTempDir.h"

namespace {

using testsupport::ScopedTempDir;

// Quoted fields with commas and doubled quotes, a quoted address over two lines, damaged rows
// (short, five digits, not hexadecimal, no name), a second row for one assignment, CR LF and LF.
constexpr std::string_view kRegistry =
    "Registry,Assignment,Organization Name,Organization Address\r\n"
    "MA-L,001122,CIMSYS Inc,\"#301,Sinsung-clean BLDG,140 KR 449-711 \"\r\n"
    "MA-L,F4BD9E,\"Cisco Systems, Inc\",80 West Tasman Drive San Jose CA US 94568\r\n"
    "MA-L,A4C361,\"Apple, Inc.\",\"1 Infinite Loop\r\nCupertino CA US 95014\"\r\n"
    "MA-L,00A0C6,\"Qualcomm \"\"QCT\"\"\",San Diego\n"
    "MA-L,001122,Second Row For CIMSYS,Nowhere\r\n"
    "MA-L,12345,Five Digits,Nowhere\r\n"
    "MA-L,00ZZ11,Not Hexadecimal,Nowhere\r\n"
    "MA-L,001A7D,,No Name\r\n"
    "MA-L\r\n"
    "\r\n"
    "MA-L,08EDB9,\"Hon Hai \xff Precision\",Taiwan\r\n"
    "MA-L,ac3743,lower case digits,Nowhere";

struct LookupCase {
    const char* name;
    const char* address;
    std::string_view vendor;
    friend std::ostream& operator<<(std::ostream& out, const LookupCase& c) { return out << c.name; }
};

class VendorLookup : public ::testing::TestWithParam<LookupCase> {
protected:
    static void SetUpTestSuite() { directory_ = new ScopedTempDir(); }
    static void TearDownTestSuite() { delete directory_; }
    static inline ScopedTempDir* directory_ = nullptr;
};

TEST_P(VendorLookup, FromTheFirstThreeBytes) {
    const qm::TVendorRegistry registry(directory_->write("oui.csv", kRegistry).string());
    EXPECT_EQ(registry.VendorOf(GetParam().address), GetParam().vendor);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, VendorLookup,
    ::testing::Values(
        LookupCase{"plain", "(00:11:22:AA:BB:CC)", "CIMSYS Inc"},
        LookupCase{"quoted_with_comma", "(F4:BD:9E:00:00:01)", "Cisco Systems, Inc"},
        LookupCase{"after_a_field_over_two_lines", "(A4:C3:61:12:34:56)", "Apple, Inc."},
        LookupCase{"doubled_quotes", "(00:A0:C6:00:00:00)", "Qualcomm \"QCT\""},
        LookupCase{"invalid_byte_replaced", "(08:ED:B9:01:02:03)", "Hon Hai \xEF\xBF\xBD Precision"},
        LookupCase{"lower_case_assignment_last_line", "(AC:37:43:00:00:00)", "lower case digits"},
        LookupCase{"lower_case_address", "(f4:bd:9e:00:00:01)", "Cisco Systems, Inc"},
        LookupCase{"unknown", "(00:00:01:00:00:00)", ""},
        LookupCase{"row_without_name", "(00:1A:7D:00:00:00)", ""},
        LookupCase{"locally_administered", "(02:11:22:AA:BB:CC)", "(random)"},
        LookupCase{"locally_administered_random", "(7A:BD:9E:00:00:01)", "(random)"},
        LookupCase{"multicast_bit_is_not_local", "(01:11:22:AA:BB:CC)", ""},
        LookupCase{"no_parentheses", "00:11:22:AA:BB:CC", ""},
        LookupCase{"dashes", "(00-11-22-AA-BB-CC)", ""}, LookupCase{"short", "(00:11:22)", ""},
        LookupCase{"empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VendorRegistry, FirstRowOfAnAssignmentCounts) {
    ScopedTempDir directory;
    const qm::TVendorRegistry registry(directory.write("oui.csv", kRegistry).string());
    EXPECT_EQ(registry.VendorOf("(00:11:22:00:00:00)"), "CIMSYS Inc");
}

TEST(VendorRegistry, MissingOrEmptyRegistryNamesNoMakerButKnowsRandomAddresses) {
    ScopedTempDir directory;
    for (const std::string& path : {(directory / "none.csv").string(),
                                    directory.write("empty.csv", "").string(), directory.path().string()}) {
        const qm::TVendorRegistry registry(path);
        EXPECT_EQ(registry.VendorOf("(00:11:22:AA:BB:CC)"), "") << path;
        EXPECT_EQ(registry.VendorOf("(02:11:22:AA:BB:CC)"), "(random)") << path;
    }
}

// Threads that race to the first lookup all see the loaded table (ThreadSanitizer checks the rest).
TEST(VendorRegistry, FirstLookupsFromSeveralThreads) {
    ScopedTempDir directory;
    const qm::TVendorRegistry registry(directory.write("oui.csv", kRegistry).string());
    std::vector<std::string> seen(4);
    std::vector<std::thread> threads;
    for (std::string& vendor : seen)
        threads.emplace_back([&registry, &vendor] { vendor = registry.VendorOf("(F4:BD:9E:00:00:01)"); });
    for (std::thread& thread : threads) thread.join();
    for (const std::string& vendor : seen) EXPECT_EQ(vendor, "Cisco Systems, Inc");
}

}  // namespace
