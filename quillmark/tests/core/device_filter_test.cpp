// The device filter and the value counts of the filter tree, on a small list and a settable clock.

#include "quillmark/core/DeviceFilter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/FilterValues.h"

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
    TBTDevice& Add(const std::string& location, std::int32_t age = 0, std::vector<std::string> services = {}) {
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
        {fkNone, "anything", true},          {fkLocation, "Office", true},
        {fkLocation, "office", false},       {fkType, type, true},
        {fkType, "Phone", false},            {fkLastSeen, "Now", true},
        {fkLastSeen, "Last Hour", false},    {fkServices, "headset GATEWAY", true},
        {fkServices, "Headset", false},      {static_cast<TFilterKind>(9), "x", true},
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
    EXPECT_EQ(Counts(fkServices), (std::vector<std::pair<std::string, int>>{{"Serial Port", 2}, {"OBEX", 1}}));
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

}  // namespace
