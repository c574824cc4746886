// The radio layer over fake "irprops.cpl" and "BTWrapper.dll" libraries loaded by file name from
// the library search path, as the real ones would be.
#include "quillmark/bluetooth/radios/KvBluetoothAPI.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>

#include "support/FakeLibraryPath.h"
#include "support/RadioLayerFixture.h"
#include "quillmark/bluetooth/radios/RadioInfo.h"
#include "quillmark/bluetooth/radios/RadioName.h"

namespace {

using namespace qm::bt;
using radiotest::FakeLibraryPath;
using radiotest::MicrosoftRadio;
using ::testing::HasSubstr;

class RadioLayer : public radiotest::RadioLayerFixture {
protected:
    // The addresses the enumeration hands out, in order, checking the results on the way.
    std::vector<std::uint64_t> Enumerate() {
        std::vector<std::uint64_t> addresses;
        TRadioFind* find = nullptr;
        std::uint64_t address = 0;
        if (KvBTFindFirstRadio(find, address) != kRadioOk) return addresses;
        do addresses.push_back(address);
        while (KvBTFindNextRadio(find, address) == kRadioOk);
        EXPECT_EQ(KvBTFindNextRadio(find, address), kRadioNone) << "the end stays the end";
        EXPECT_EQ(KvBTFindRadioClose(find), kRadioOk);
        return addresses;
    }

    void GiveWidcommRadio(const unsigned char (&address)[6]) {
        TFakeWidcommState& widcomm = Widcomm();
        widcomm.versionRecordResult = 1;
        std::memcpy(widcomm.versionRecord, address, 6);
        const std::uint16_t manufacturer = 10, subversion = 0x1234;
        std::memcpy(widcomm.versionRecord + 10, &manufacturer, 2);
        std::memcpy(widcomm.versionRecord + 12, &subversion, 2);
        widcomm.nameResult = 1;
        std::strcpy(widcomm.name, "Widcomm Radio");
    }
};

TEST_F(RadioLayer, NeitherStackPresentGivesAnEmptyMap) {
    EXPECT_EQ(KvBTInitialize(), kRadioOk);
    TRadioFind* find = nullptr;
    std::uint64_t address = 77;
    EXPECT_EQ(KvBTFindFirstRadio(find, address), kRadioNone);
    EXPECT_EQ(find, nullptr);
    EXPECT_FALSE(KvBTIsDiscoverable(0));
    EXPECT_FALSE(KvBTIsConnectable(0));
    EXPECT_EQ(KvBTShutdown(), kRadioOk);
    EXPECT_EQ(TraceBody(), "KvBTInitialize L10 - Widcomm Bluetooth driver wbtapi.dll not found\n"
                           "TRadioMap::Initialize L10 - Searching for adapters\n");
}

struct WidcommAbsence {
    const char* name;
    bool driver;
    const char* wrapperVariant;  // null: a file that is no library
    const char* trace;
    friend std::ostream& operator<<(std::ostream& out, const WidcommAbsence& c) { return out << c.name; }
};

class WidcommAbsent : public RadioLayer, public ::testing::WithParamInterface<WidcommAbsence> {};

// A wrapper that would report a radio, were it complete.
TEST_P(WidcommAbsent, LeavesNoRadioAndTracesWhy) {
    if (GetParam().driver) FakeLibraryPath::Write("wbtapi.dll", "driver");
    if (GetParam().wrapperVariant != nullptr) {
        FakeLibraryPath::Install(GetParam().wrapperVariant, "BTWrapper.dll");
        GiveWidcommRadio({0, 1, 2, 3, 4, 5});
    } else {
        FakeLibraryPath::Write("BTWrapper.dll", "not a library");
    }
    EXPECT_EQ(KvBTInitialize(), kRadioOk);
    EXPECT_TRUE(Enumerate().empty());
    EXPECT_EQ(TraceBody(), std::string(GetParam().trace) + "TRadioMap::Initialize L10 - Searching for adapters\n");
}

INSTANTIATE_TEST_SUITE_P(
    Table, WidcommAbsent,
    ::testing::Values(
        WidcommAbsence{"NoDriver", false, "complete", "KvBTInitialize L10 - Widcomm Bluetooth driver wbtapi.dll not found\n"},
        WidcommAbsence{"WrapperDoesNotLoad", true, nullptr, "KvBTInitialize L1 - Error: BTWrapper.dll failed to load\n"},
        WidcommAbsence{"NoCreate", true, "without-create", ""},
        WidcommAbsence{"LastEntryPointMissing", true, "without-vendor-command", ""}),
    ::testing::PrintToStringParamName());

TEST_F(RadioLayer, WidcommRadioTakesItsAddressFromTheVersionRecordAndAFixedClass) {
    InstallBothStacks();
    GiveWidcommRadio({0x00, 0x11, 0x22, 0x33, 0x44, 0x55});
    std::strcpy(Widcomm().versionText, "5.0.1.802");
    Widcomm().versionResult = 1;
    ASSERT_EQ(KvBTInitialize(), kRadioOk);
    ASSERT_EQ(Enumerate(), std::vector<std::uint64_t>{0x001122334455});

    BLUETOOTH_RADIO_INFO info{};
    info.dwSize = sizeof info;
    info.ulClassofDevice = 0xFFE0FF;  // the radio's own class bits are overwritten, the others kept
    ASSERT_EQ(KvBTGetRadioInfo(info, 0x001122334455), kRadioOk);
    EXPECT_EQ(info.address, 0x001122334455u);
    EXPECT_EQ(info.ulClassofDevice, 0xFFE10Fu);
    EXPECT_EQ(info.manufacturer, 10);
    EXPECT_EQ(info.lmpSubversion, 0x1234);
    const TRadioInfo radio = MakeRadioInfo(info, false, false);
    EXPECT_EQ(radio.FAddressText, "00:11:22:33:44:55");
    EXPECT_EQ(radio.FName, "Widcomm Radio");
    EXPECT_EQ(radio.FClassName, "Laptop Computer");
    EXPECT_EQ(radio.FType, qm::dtLaptop);

    KvBTShutdown();
    EXPECT_EQ(Widcomm().created, 1);
    EXPECT_EQ(Widcomm().destroyed, 1);
    EXPECT_EQ(Widcomm().wrongInstance, 0);
    EXPECT_THAT(TraceBody(), HasSubstr("KvBTInitialize L1 - Widcomm driver version: 5.0.1.802\n"));
}

TEST_F(RadioLayer, WidcommFailuresAfterTheStart) {
    InstallBothStacks();
    GiveWidcommRadio({0, 0, 0, 0, 0, 9});
    ASSERT_EQ(KvBTInitialize(), kRadioOk);
    BLUETOOTH_RADIO_INFO info{};
    info.dwSize = sizeof info;
    Widcomm().nameResult = 0;
    EXPECT_EQ(KvBTGetRadioInfo(info, 9), kRadioStackFailed);
    Widcomm().versionRecordResult = 0;
    EXPECT_EQ(KvBTGetRadioInfo(info, 9), kRadioStackFailed);
    EXPECT_THAT(TraceBody(), HasSubstr("KvBTInitialize L1 - Widcomm driver version: not available\n"));
}

TEST_F(RadioLayer, MicrosoftRadiosComeFirstInTheirOrderThenTheWidcommRadio) {
    InstallBothStacks();
    TFakeMicrosoftState& microsoft = Microsoft();
    microsoft.radioCount = 2;
    microsoft.radios[0] = MicrosoftRadio(0x000A3A123456, "First", 0x000104, 10, 1);
    microsoft.radios[1] = MicrosoftRadio(0x000A3A654321, "Second", 0x000104, 10, 2);
    microsoft.radios[1].discoverable = 1;
    GiveWidcommRadio({0x00, 0x11, 0x22, 0x33, 0x44, 0x55});
    ASSERT_EQ(KvBTInitialize(), kRadioOk);
    EXPECT_EQ(Enumerate(), (std::vector<std::uint64_t>{0x000A3A123456, 0x000A3A654321, 0x001122334455}));
    EXPECT_FALSE(KvBTIsDiscoverable(0x000A3A123456));
    EXPECT_TRUE(KvBTIsDiscoverable(0)) << "the second radio is";
    EXPECT_EQ(microsoft.openFinds, 0);
    EXPECT_EQ(microsoft.openRadioHandles, 2);
    KvBTShutdown();
    EXPECT_EQ(microsoft.openRadioHandles, 0) << "the map's items close their handles";
    EXPECT_EQ(TraceBody(), "KvBTInitialize L1 - Widcomm driver version: not available\n"
                           "TRadioMap::Initialize L10 - Searching for adapters\n"
                           "TRadioMap::Initialize L10 - Found MS API Adapter First\n"
                           "TRadioMap::Initialize L10 - Found MS API Adapter Second\n"
                           "TRadioMap::Initialize L10 - Found Widcomm API Adapter\n");
}

TEST_F(RadioLayer, FailingSecondMicrosoftRadioKeepsTheFirstAndSkipsWidcomm) {
    InstallBothStacks();
    TFakeMicrosoftState& microsoft = Microsoft();
    microsoft.radioCount = 2;
    microsoft.radios[0] = MicrosoftRadio(0x000A3A123456, "First", 0, 10, 1);
    microsoft.radios[1] = MicrosoftRadio(0x000A3A654321, "Second", 0, 10, 2);
    microsoft.radios[1].infoResult = 31;
    GiveWidcommRadio({0x00, 0x11, 0x22, 0x33, 0x44, 0x55});
    EXPECT_EQ(KvBTInitialize(), kRadioStackFailed);
    EXPECT_EQ(Enumerate(), std::vector<std::uint64_t>{0x000A3A123456});
    EXPECT_EQ(microsoft.openFinds, 0);
    EXPECT_EQ(microsoft.openRadioHandles, 1) << "the failing radio's handle is closed at once";
    KvBTShutdown();
    EXPECT_EQ(microsoft.openRadioHandles, 0);
    EXPECT_THAT(TraceBody(), HasSubstr("TRadioMap::Initialize L1 - Error returned by BluetoothGetRadioInfo 31\n"));
}

TEST_F(RadioLayer, LibraryWithoutOneRadioFunctionCountsAsAbsent) {
    FakeLibraryPath::Install("without-is-connectable", "irprops.cpl");
    Microsoft().radioCount = 1;
    Microsoft().radios[0] = MicrosoftRadio(0x000A3A123456, "First", 0, 10, 1);
    EXPECT_EQ(KvBTInitialize(), kRadioOk);
    EXPECT_TRUE(Enumerate().empty());
}

TEST_F(RadioLayer, BadHandlesAndUnknownAddresses) {
    InstallBothStacks();
    Microsoft().radioCount = 1;
    Microsoft().radios[0] = MicrosoftRadio(0x000A3A123456, "First", 0, 10, 1);
    ASSERT_EQ(KvBTInitialize(), kRadioOk);
    std::uint64_t address = 0;
    EXPECT_EQ(KvBTFindNextRadio(nullptr, address), kRadioBadHandle);
    EXPECT_EQ(KvBTFindRadioClose(nullptr), kRadioBadHandle);
    TRadioFind beyond{5};
    EXPECT_EQ(KvBTFindNextRadio(&beyond, address), kRadioBadHandle);
    EXPECT_EQ(KvBTFindRadioClose(&beyond), kRadioBadHandle) << "and it is not freed";

    BLUETOOTH_RADIO_INFO info;
    std::memset(&info, 0xA5, sizeof info);
    info.dwSize = sizeof info;
    BLUETOOTH_RADIO_INFO untouched = info;
    EXPECT_EQ(KvBTGetRadioInfo(info, 0x000A3A123457), kRadioNone);
    EXPECT_EQ(std::memcmp(&info, &untouched, sizeof info), 0);
    EXPECT_TRUE(KvBTIsConnectable(0x000A3A123457));
}

struct Switching {
    const char* name;
    bool discoverable;  // which operation: SetDiscoverable or SetConnectable
    bool on;
    BOOL discoveryResult;
    const char* calls;
    int result;
    friend std::ostream& operator<<(std::ostream& out, const Switching& c) { return out << c.name; }
};

class MicrosoftSwitching : public RadioLayer, public ::testing::WithParamInterface<Switching> {};

// Connectable before discoverable, undiscoverable before unconnectable.
TEST_P(MicrosoftSwitching, KeepsTheCoupledOrder) {
    FakeLibraryPath::Install("complete", "irprops.cpl");
    Microsoft().radioCount = 1;
    Microsoft().radios[0] = MicrosoftRadio(0x000A3A123456, "First", 0, 10, 1);
    Microsoft().radios[0].enableDiscoveryResult = GetParam().discoveryResult;
    ASSERT_EQ(KvBTInitialize(), kRadioOk);
    TRadioMapItem& item = KvBTRadioMap()->Item(0);
    const int result = GetParam().discoverable ? item.SetDiscoverable(GetParam().on) : item.SetConnectable(GetParam().on);
    EXPECT_EQ(result, GetParam().result);
    EXPECT_STREQ(Microsoft().calls, GetParam().calls);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MicrosoftSwitching,
    ::testing::Values(
        Switching{"DiscoverableOn", true, true, 1, "EnableIncomingConnections 0 1;EnableDiscovery 0 1;", kRadioOk},
        Switching{"DiscoverableOnFailing", true, true, 0, "EnableIncomingConnections 0 1;EnableDiscovery 0 1;",
                  kRadioStackFailed},
        Switching{"DiscoverableOff", true, false, 1, "EnableDiscovery 0 0;", kRadioOk},
        Switching{"ConnectableOff", false, false, 0, "EnableDiscovery 0 0;EnableIncomingConnections 0 0;", kRadioOk},
        Switching{"ConnectableOn", false, true, 1, "EnableIncomingConnections 0 1;", kRadioOk}),
    ::testing::PrintToStringParamName());

TEST_F(RadioLayer, WidcommRadioIsSwitchedByItsWrapper) {
    InstallBothStacks();
    GiveWidcommRadio({0, 0, 0, 0, 0, 9});
    ASSERT_EQ(KvBTInitialize(), kRadioOk);
    TRadioMapItem& item = KvBTRadioMap()->Item(0);
    Widcomm().setResult = 1;
    EXPECT_EQ(item.SetDiscoverable(true), kRadioOk);
    EXPECT_EQ(item.SetConnectable(false), kRadioOk);
    EXPECT_EQ(item.SetEnabled(false), kRadioOk);
    Widcomm().setResult = 0;
    EXPECT_EQ(item.SetEnabled(true), kRadioStackFailed);
    EXPECT_STREQ(Widcomm().calls, "SetDiscoverable 1;SetConnectable 0;AdapterEnable 0;AdapterEnable 1;");
    Widcomm().connectable = 1;
    EXPECT_TRUE(KvBTIsConnectable(9));
    EXPECT_FALSE(KvBTIsDiscoverable(9));
}

TEST_F(RadioLayer, UnknownStackAnswersFour) {
    ASSERT_EQ(KvBTInitialize(), kRadioOk);
    KvBTRadioMap()->AddRadio(static_cast<TRadioStack>(7), nullptr, 42);
    TRadioMapItem& item = KvBTRadioMap()->Item(0);
    EXPECT_EQ(item.SetDiscoverable(true), kRadioUnknownStack);
    EXPECT_EQ(item.SetConnectable(true), kRadioUnknownStack);
    EXPECT_EQ(item.SetEnabled(true), kRadioUnknownStack);
    BLUETOOTH_RADIO_INFO info{};
    info.dwSize = sizeof info;
    EXPECT_EQ(KvBTGetRadioInfo(info, 42), kRadioUnknownStack);
}

}  // namespace
