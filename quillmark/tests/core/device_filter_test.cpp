// The device filter and the value counts of the filter tree, on a small list and a settable clock.

#include "quillmark/core/DeviceFilter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/FilterValues.h"
#include "testsupport/ScopedTempDir.h"

namespace {

using namespace qm;

constexpr std::int32_t kNow = 1'700'000'000;

// A record holding only a service name attribute (0x0100) with the text.
std::string ServiceRecord(const std::string& name) {
    const std::string attribute = std::string("\x09\x01\x00\x25", 4) + static_cast<char>(name.size()) + name;
    return std::string("\x35", 1) + static_cast<char>(attribute.size()) + attribute;
}

class DeviceFilterTest : public ::testing::Test {
protected:
    TBTDevice& Add(const std::string& location, std::int32_t age = 0,
                   std::vector<std::string> services = {}) {
        TBTDevice& device = list.Add();
        device.SetAddress("(00:00:00:00:00:" + std::to_string(list.Count()) + ")");
        device.SetLocation(location);
        device.SetLastSeen(kNow - age);
        for (const std::string& service : services) device.RawSDPRecords().push_back(ServiceRecord(service));
        return device;
    }
    std::vector<std::pair<std::string, int>> Counts(TFilterKind kind, bool hideInactive = false) {
        std::vector<std::pair<std::string, int>> counts;
        for (const TFilterValueCount& entry : CountFilterValues(list, kind, hideInactive))
            counts.emplace_back(entry.value, entry.count);
        return counts;
    }

    TSettableClock clock{kNow};
    TDeviceList list{clock};
    TDeviceListLock lock{list};
};

TEST_F(DeviceFilterTest, EachKindComparesItsField) {
    TBTDevice& device = Add("Office", 299, {"Headset Gateway"});
    device.SetMajorClass(4);
    device.SetMinorClass(1);
    const std::string type = DeviceClassName(4, 1);
    struct TCase {
        TFilterKind kind;
        std::string value;
        bool passes;
    };
    const TCase cases[] = {
        {fkNone, "anything", true},       {fkLocation, "Office", true},
        {fkLocation, "office", false},    {fkType, type, true},
        {fkType, "Phone", false},         {fkLastSeen, "Now", true},
        {fkLastSeen, "Last Hour", false}, {fkServices, "headset GATEWAY", true},
        {fkServices, "Headset", false},   {static_cast<TFilterKind>(9), "x", true},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(PassesDeviceFilter(device, c.kind, c.value, kNow), c.passes) << c.kind << " " << c.value;
    device.SetLastSeen(kNow - 300);
    EXPECT_FALSE(PassesDeviceFilter(device, fkLastSeen, "Now", kNow));
}

TEST_F(DeviceFilterTest, HideInactiveListsUpToThreeHundredSeconds) {
    TBTDevice& boundary = Add("", 300);
    TBTDevice& past = Add("", 301);
    EXPECT_TRUE(IsDeviceListed(boundary, true, fkNone, "", kNow));
    EXPECT_FALSE(IsDeviceListed(past, true, fkNone, "", kNow));
    EXPECT_TRUE(IsDeviceListed(past, false, fkNone, "", kNow));
    EXPECT_FALSE(IsDeviceListed(boundary, true, fkLocation, "Office", kNow));
}

TEST_F(DeviceFilterTest, ValuesAreCountedInFirstAppearanceOrderWithTheFirstSpelling) {
    Add("");
    Add("Office");
    Add("");
    Add("OFFICE");
    Add("");
    Add("Straße");
    Add("STRASSE");  // upper-case forms of single characters: ß stays ß, so these differ
    const std::vector<std::pair<std::string, int>> expected{
        {"", 3}, {"Office", 2}, {"Straße", 1}, {"STRASSE", 1}};
    EXPECT_EQ(Counts(fkLocation), expected);
    EXPECT_TRUE(Counts(fkNone).empty());
}

TEST_F(DeviceFilterTest, ServicesCountEveryRecordAndHideInactiveCountsOnlyActiveDevices) {
    Add("Lab", 0, {"Serial Port", "serial port"});
    Add("Hall", 400, {"OBEX"});
    EXPECT_EQ(Counts(fkServices),
              (std::vector<std::pair<std::string, int>>{{"Serial Port", 2}, {"OBEX", 1}}));
    EXPECT_EQ(Counts(fkServices, true), (std::vector<std::pair<std::string, int>>{{"Serial Port", 2}}));
    EXPECT_EQ(Counts(fkLocation, true), (std::vector<std::pair<std::string, int>>{{"Lab", 1}}));
    EXPECT_EQ(Counts(fkLastSeen), (std::vector<std::pair<std::string, int>>{{"Now", 1}, {"Last Hour", 1}}));
}

TEST_F(DeviceFilterTest, FoldedKeysIgnoreLetterCaseBeyondAscii) {
    Add("Émile");
    Add("ÉMILE");
    Add("émile");
    EXPECT_EQ(Counts(fkLocation), (std::vector<std::pair<std::string, int>>{{"Émile", 3}}));
}

// Devices heard over LE, classic or both, from public and random addresses (the first address byte
// tells a random one's kind: 0b11 static, 0b01 resolvable, 0b00 non-resolvable, 0b10 reserved).
class LowEnergyFilterTest : public DeviceFilterTest {
protected:
    TBTDevice& AddHeard(const std::string& address, bool classic, bool lowEnergy, TAddressType type,
                        std::optional<std::uint16_t> company = std::nullopt) {
        TBTDevice& device = Add("");
        device.SetAddress(address);
        device.Advertising().classic = classic;
        device.Advertising().lowEnergy = lowEnergy;
        device.Advertising().addressType = type;
        if (company) device.Advertising().manufacturer = TManufacturerData{*company, {}};
        return device;
    }
    std::vector<std::pair<std::string, int>> Counts(TFilterKind kind) {
        std::vector<std::pair<std::string, int>> counts;
        for (const TFilterValueCount& entry : CountFilterValues(list, kind, false, vendors))
            counts.emplace_back(entry.value, entry.count);
        return counts;
    }

    testsupport::ScopedTempDir directory;
    TVendorRegistry vendors{
        directory
            .write("oui.csv",
                   "Registry,Assignment,Organization Name,Organization Address\n"
                   "MA-L,001122,Zeta Radio,Nowhere\nMA-L,A4C361,\"Apple, Inc.\",Cupertino\n")
            .string()};
};

TEST_F(LowEnergyFilterTest, EachNewKindComparesItsField) {
    struct TCase {
        const char* name;
        const char* address;
        bool classic, lowEnergy;
        TAddressType type;
        std::optional<std::uint16_t> company;
        const char *radio, *addressClass, *maker;
    };
    const TCase cases[] = {
        {"classic",
         "(00:11:22:00:00:01)",
         true,
         false,
         TAddressType::Public,
         {},
         "Classic",
         "Public",
         "Zeta Radio"},
        {"from a session file",
         "(A4:C3:61:00:00:01)",
         false,
         false,
         TAddressType::Public,
         {},
         "Classic",
         "Public",
         "Apple, Inc."},
        {"LE public",
         "(00:11:22:00:00:02)",
         false,
         true,
         TAddressType::Public,
         {},
         "Low Energy",
         "Public",
         "Zeta Radio"},
        {"dual", "(00:11:22:00:00:03)", true, true, TAddressType::Public, {}, "Both", "Public", "Zeta Radio"},
        {"static",
         "(C1:00:00:00:00:01)",
         false,
         true,
         TAddressType::Random,
         {},
         "Low Energy",
         "Random static",
         "(random)"},
        {"resolvable with company", "(41:00:00:00:00:01)", false, true, TAddressType::Random, 0x004C,
         "Low Energy", "Private", "Apple, Inc."},
        {"non-resolvable",
         "(01:00:00:00:00:01)",
         false,
         true,
         TAddressType::Random,
         {},
         "Low Energy",
         "Private",
         "(random)"},
        {"reserved",
         "(81:00:00:00:00:01)",
         false,
         true,
         TAddressType::Random,
         {},
         "Low Energy",
         "Random static",
         "(random)"},
        {"random bits of a classic device",
         "(42:00:00:00:00:02)",
         true,
         false,
         TAddressType::Random,
         {},
         "Classic",
         "Public",
         "(random)"},
    };
    for (const TCase& c : cases) {
        TBTDevice& device = AddHeard(c.address, c.classic, c.lowEnergy, c.type, c.company);
        EXPECT_TRUE(PassesDeviceFilter(device, fkRadio, c.radio, kNow, vendors)) << c.name;
        EXPECT_TRUE(PassesDeviceFilter(device, fkAddress, c.addressClass, kNow, vendors)) << c.name;
        EXPECT_TRUE(PassesDeviceFilter(device, fkMaker, c.maker, kNow, vendors)) << c.name;
        EXPECT_FALSE(PassesDeviceFilter(device, fkRadio, "low energy", kNow, vendors)) << c.name;
        EXPECT_FALSE(PassesDeviceFilter(device, fkAddress, "Random", kNow, vendors)) << c.name;
    }
}

TEST_F(LowEnergyFilterTest, TrackersAreServices) {
    TBTDevice& tag = AddHeard("(C1:00:00:00:00:01)", false, true, TAddressType::Random);
    tag.Advertising().tracker = TTrackerKind::Tile;
    TBTDevice& phone = Add("", 0, {"Serial Port"});
    EXPECT_TRUE(PassesDeviceFilter(tag, fkServices, "Tracker: Tile", kNow, vendors));
    EXPECT_TRUE(PassesDeviceFilter(tag, fkServices, "tracker: tile", kNow, vendors));
    EXPECT_FALSE(PassesDeviceFilter(tag, fkServices, "Tile", kNow, vendors));
    EXPECT_FALSE(PassesDeviceFilter(phone, fkServices, "Tracker: Tile", kNow, vendors));
    EXPECT_EQ(Counts(fkServices),
              (std::vector<std::pair<std::string, int>>{{"Tracker: Tile", 1}, {"Serial Port", 1}}));
}

TEST_F(LowEnergyFilterTest, RadioAndAddressKeepTheirOrderAndMakersAreSorted) {
    AddHeard("(01:00:00:00:00:01)", false, true, TAddressType::Random);
    AddHeard("(00:11:22:00:00:01)", true, true, TAddressType::Public);
    AddHeard("(A4:C3:61:00:00:01)", true, false, TAddressType::Public);
    AddHeard("(C1:00:00:00:00:01)", false, true, TAddressType::Random, 0x004C);
    AddHeard("(00:11:22:00:00:02)", true, false, TAddressType::Public);
    using TCounts = std::vector<std::pair<std::string, int>>;
    EXPECT_EQ(Counts(fkRadio), (TCounts{{"Classic", 2}, {"Low Energy", 2}, {"Both", 1}}));
    EXPECT_EQ(Counts(fkAddress), (TCounts{{"Public", 3}, {"Random static", 1}, {"Private", 1}}));
    EXPECT_EQ(Counts(fkMaker), (TCounts{{"(random)", 1}, {"Apple, Inc.", 2}, {"Zeta Radio", 2}}));
}

}  // namespace
