#include "quillmark/core/BTDevice.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "quillmark/base/Error.h"
#include "quillmark/core/DeviceList.h"

namespace {

using namespace qm;

constexpr std::int32_t kNow = 1700000000;

// A service record: one data element sequence holding attribute 0x0000 (a handle) and, when a
// name is given, attribute 0x0100 (the service name) as a text string.
std::string Record(const std::string& name = "", bool withName = true) {
    std::string body = std::string("\x09\x00\x00\x0A\x00\x01\x00\x00", 8);
    if (withName) body += std::string("\x09\x01\x00\x25", 4) + static_cast<char>(name.size()) + name;
    return std::string("\x35", 1) + static_cast<char>(body.size()) + body;
}

class DeviceRecord : public ::testing::Test {
protected:
    TSettableClock clock_{kNow};
    TDeviceList list_{clock_};
    TBTDevice& device_ = list_.Add();
};

TEST_F(DeviceRecord, NewRecordDefaults) {
    EXPECT_EQ(device_.Name(), "Unknown");
    EXPECT_EQ(device_.Address(), "");
    EXPECT_EQ(device_.Type(), dtOther);
    EXPECT_EQ(device_.MajorClass(), 0);
    EXPECT_EQ(device_.MinorClass(), 0);
    EXPECT_EQ(device_.FirstSeen(), kNow);
    EXPECT_EQ(device_.LastSeen(), 0);
    EXPECT_EQ(device_.SeenCount(), 0);
    EXPECT_EQ(device_.Flags(), 0);
    EXPECT_EQ(device_.Location(), "");
    EXPECT_EQ(device_.FlagsText(), "");
    EXPECT_EQ(device_.SDPText(), "No SDP information available.");
    EXPECT_TRUE(device_.Services().empty());
    EXPECT_FALSE(device_.IsActive());
}

TEST_F(DeviceRecord, ClassFieldsDecideTheType) {
    device_.SetMajorClass(1);
    device_.SetMinorClass(3);
    EXPECT_EQ(device_.Type(), dtLaptop);
    device_.SetMajorClass(1);
    EXPECT_EQ(device_.MinorClass(), 3);
    device_.SetMajorClass(2);
    EXPECT_EQ(device_.MinorClass(), 0);
    EXPECT_EQ(device_.Type(), dtPhone);
    device_.SetType(dtModem);
    device_.SetMinorClass(0);
    EXPECT_EQ(device_.Type(), dtModem) << "an unchanged class field leaves the type alone";
}

TEST_F(DeviceRecord, FlagsText) {
    struct Case {
        std::int32_t flags;
        int records;
        const char* expected;
    };
    for (const Case& c :
         {Case{0x18, 2, "Paired, Personal, SDP"}, Case{0x20, 0, "Connected"}, Case{0x07, 0, ""},
          Case{0x38, 0, "Paired, Personal, Connected"}, Case{0, 1, "SDP"}}) {
        device_.SetFlags(c.flags);
        device_.RawSDPRecords().assign(static_cast<std::size_t>(c.records), Record("x"));
        EXPECT_EQ(device_.FlagsText(), c.expected) << c.flags;
    }
    device_.SetRawSDPStream("s");
    EXPECT_EQ(device_.FlagsText(), "SDP");
}

TEST_F(DeviceRecord, ServicesOneLinePerRecord) {
    device_.RawSDPRecords() = {Record("Serial Port"), Record("Serial Port"), Record("", false), Record("")};
    EXPECT_THAT(device_.Services(),
                ::testing::ElementsAre("Serial Port", "Serial Port", "Unknown", "Unknown"));
}

// The cache follows the number of records only.
TEST_F(DeviceRecord, ServicesCacheKeyedOnTheRecordCount) {
    device_.RawSDPRecords() = {Record("Audio")};
    EXPECT_THAT(device_.Services(), ::testing::ElementsAre("Audio"));
    device_.RawSDPRecords() = {Record("Fax")};
    EXPECT_THAT(device_.Services(), ::testing::ElementsAre("Audio"));
    device_.RawSDPRecords().clear();
    EXPECT_TRUE(device_.Services().empty());
    device_.RawSDPRecords() = {Record("Fax")};
    EXPECT_THAT(device_.Services(), ::testing::ElementsAre("Fax"));
}

TEST_F(DeviceRecord, StreamBecomesTheFirstRecord) {
    const std::string record = Record("Dial-up");
    device_.SetRawSDPStream(record);
    const std::string streamText = device_.SDPText();
    EXPECT_TRUE(device_.RawSDPRecords().empty());
    EXPECT_THAT(device_.Services(), ::testing::ElementsAre("Dial-up"));
    EXPECT_EQ(device_.RawSDPRecords(), std::vector<std::string>{record});
    EXPECT_EQ(device_.RawSDPStream(), record);
    EXPECT_EQ(device_.SDPText(), streamText);
}

TEST_F(DeviceRecord, SdpTextJoinsRecordsAndPassesErrorsOn) {
    device_.RawSDPRecords() = {Record("One"), Record("Two")};
    const std::string text = device_.SDPText();
    EXPECT_THAT(text, ::testing::HasSubstr("One"));
    EXPECT_LT(text.find("One"), text.find("Two"));
    device_.RawSDPRecords().push_back(std::string("\x35\x7F", 2));
    EXPECT_THROW(device_.SDPText(), TError);
}

TEST_F(DeviceRecord, ActiveUpTo300SecondsInclusive) {
    device_.SetLastSeen(kNow - 300);
    EXPECT_TRUE(device_.IsActive());
    clock_.Advance(1);
    EXPECT_FALSE(device_.IsActive());
    device_.SetLastSeen(kNow + 3600);
    EXPECT_TRUE(device_.IsActive());
}

TEST_F(DeviceRecord, ActiveNearTheEndOfTime) {
    device_.SetLastSeen(2147483647);
    clock_.Set(2147483647);
    EXPECT_TRUE(device_.IsActive());
}

}  // namespace
