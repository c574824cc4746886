// Switching radios on and off, and the kernel's controllers in the radio layer, over fakes of the
// kill switches, the device installer and the controllers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <map>
#include <ostream>
#include <string>

#include "quillmark/base/Error.h"
#include "quillmark/base/SystemErrorText.h"
#include "quillmark/bluetooth/radios/KvBluetoothAPI.h"
#include "quillmark/bluetooth/radios/RadioDrivers.h"
#include "quillmark/bluetooth/radios/RadioInfo.h"

namespace {

using namespace qm::bt;

// Records every call; the failure of a call is the error number set for its name.
class RecordingInstaller : public TDeviceInstaller {
public:
    std::uint32_t devices = 0;
    std::map<std::string, std::uint32_t> failures;  // "Get", "Enum1", "Set0", "Call1", "Params0"; each once
    std::string log;

    bool GetClassDevs(std::uint32_t& error) override { return Step("Get", error); }
    bool EnumDeviceInfo(std::uint32_t index, std::uint32_t& error) override {
        if (index >= devices && !failures.contains("Enum" + std::to_string(index))) {
            log += "End;";
            error = kNoMoreItems;
            return false;
        }
        return Step("Enum" + std::to_string(index), error);
    }
    bool SetClassInstallParams(std::uint32_t device, const TPropertyChangeParams& params, std::size_t size,
                               std::uint32_t& error) override {
        EXPECT_EQ(size, 20u);
        EXPECT_EQ(params.headerSize, 8u);
        EXPECT_EQ(params.installFunction, 0x12u);
        EXPECT_EQ(params.hardwareProfile, 0u);
        return Step("Set" + std::to_string(device) + "(" + std::to_string(params.stateChange) + "," +
                        std::to_string(params.scope) + ")",
                    error, "Set" + std::to_string(device));
    }
    bool CallClassInstaller(std::uint32_t function, std::uint32_t device, std::uint32_t& error) override {
        EXPECT_EQ(function, 0x12u);
        return Step("Call" + std::to_string(device), error);
    }
    bool GetDeviceInstallParams(std::uint32_t device, std::uint32_t& error) override {
        return Step("Params" + std::to_string(device), error);
    }
    void DestroyDeviceInfoList() override { log += "Destroy;"; }

private:
    bool Step(const std::string& entry, std::uint32_t& error, const std::string& key = {}) {
        log += entry + ";";
        const auto failure = failures.find(key.empty() ? entry : key);
        if (failure == failures.end()) return true;
        error = failure->second;
        failures.erase(failure);
        return false;
    }
};

struct DriverCase {
    const char* name;
    bool on;
    std::uint32_t devices;
    std::map<std::string, std::uint32_t> failures;
    const char* log;
    const char* error;  // empty: ends normally
    friend std::ostream& operator<<(std::ostream& out, const DriverCase& c) { return out << c.name; }
};

class RadioDrivers : public ::testing::TestWithParam<DriverCase> {};

TEST_P(RadioDrivers, FollowTheInstallerStepsAndStopAtTheFirstFailure) {
    RecordingInstaller installer;
    installer.devices = GetParam().devices;
    installer.failures = GetParam().failures;
    std::string error;
    try {
        SetRadioDriversEnabled(installer, GetParam().on);
    } catch (const qm::TError& raised) {
        error = raised.Message();
    }
    EXPECT_EQ(error, GetParam().error);
    EXPECT_EQ(installer.log, GetParam().log);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RadioDrivers,
    ::testing::Values(
        DriverCase{"NoDevice", true, 0, {}, "Get;End;Destroy;", ""},
        DriverCase{"OnTriesEveryProfileThenTheCurrentOne", true, 2, {},
                   "Get;Enum0;Set0(1,1);Call0;Set0(1,2);Call0;Params0;"
                   "Enum1;Set1(1,1);Call1;Set1(1,2);Call1;Params1;End;Destroy;",
                   ""},
        DriverCase{"OffOnlyTheCurrentProfile", false, 1, {}, "Get;Enum0;Set0(2,2);Call0;Params0;End;Destroy;", ""},
        DriverCase{"GlobalEnableRefused", true, 1, {{"Call0", 5}},
                   "Get;Enum0;Set0(1,1);Call0;Set0(1,2);Call0;Params0;End;Destroy;", ""},
        DriverCase{"GlobalParametersRefused", true, 1, {{"Set0", 5}},
                   "Get;Enum0;Set0(1,1);Set0(1,2);Call0;Params0;End;Destroy;", ""},
        DriverCase{"SecondDeviceFails", false, 2, {{"Call1", 5}},
                   "Get;Enum0;Set0(2,2);Call0;Params0;Enum1;Set1(2,2);Call1;Destroy;",
                   "Unable to apply install parameters. Error: 5"},
        DriverCase{"NoDeviceSet", true, 1, {{"Get", 13}}, "Get;",
                   "Unable to create device information structure. Error: 13"},
        DriverCase{"EnumerationFails", false, 3, {{"Enum1", 6}}, "Get;Enum0;Set0(2,2);Call0;Params0;Enum1;Destroy;",
                   "Unable to enumerate device: 6"},
        DriverCase{"InstallParametersRefused", false, 1, {{"Set0", 4294967295u}}, "Get;Enum0;Set0(2,2);Destroy;",
                   "Unable to set install parameters. Error: 4294967295"},
        DriverCase{"DeviceParametersUnreadable", false, 2, {{"Params0", 1784}},
                   "Get;Enum0;Set0(2,2);Call0;Params0;Destroy;", "Unable to read device parameters. Error: 1784"}),
    ::testing::PrintToStringParamName());

class FakeSwitches : public TRadioSwitches {
public:
    std::vector<TRadioSwitch> switches;
    std::map<std::uint32_t, int> failing;  // switch id -> error of SetBlocked
    int allFailure = 0;
    std::map<std::uint16_t, std::uint32_t> controllers;
    std::string log;

    int List(std::vector<TRadioSwitch>& present) override {
        present = switches;
        return 0;
    }
    int SetBlocked(std::uint32_t id, bool blocked) override {
        log += (blocked ? "block " : "unblock ") + std::to_string(id) + ";";
        if (failing.contains(id)) return failing[id];
        for (TRadioSwitch& entry : switches)
            if (entry.id == id) entry.softBlocked = blocked;
        return 0;
    }
    int SetAllBlocked(bool blocked) override {
        log += blocked ? "block all;" : "unblock all;";
        return allFailure;
    }
    int SwitchOfController(std::uint16_t index, std::uint32_t& id) override {
        if (!controllers.contains(index)) return ENOENT;
        id = controllers[index];
        return 0;
    }
};

class FakeControllers : public TLocalRadios {
public:
    std::vector<TLocalRadio> radios;
    std::map<std::string, int> failures;  // "Read1", "Powered0", ...
    std::string log;

    int List(std::vector<TLocalRadio>& list) override {
        list = radios;
        return 0;
    }
    int Read(std::uint16_t index, TLocalRadio& radio) override {
        if (const int error = Failure("Read" + std::to_string(index)); error != 0) return error;
        radio = radios.at(index);
        return 0;
    }
    int SetPowered(std::uint16_t index, bool on) override { return Set("Powered", index, on); }
    int SetConnectable(std::uint16_t index, bool on) override { return Set("Connectable", index, on); }
    int SetDiscoverable(std::uint16_t index, bool on) override { return Set("Discoverable", index, on); }

private:
    int Failure(const std::string& key) {
        const auto failure = failures.find(key);
        if (failure == failures.end()) return 0;
        const int error = failure->second;
        failures.erase(failure);  // a failure happens once
        return error;
    }
    int Set(const std::string& what, std::uint16_t index, bool on) {
        log += what + " " + std::to_string(index) + " " + (on ? "1" : "0") + ";";
        return Failure(what + std::to_string(index));
    }
};

TLocalRadio Controller(std::uint16_t index, const char* name, std::uint8_t last) {
    TLocalRadio radio;
    radio.index = index;
    radio.address.bytes = {0x00, 0x1A, 0x7D, 0xDA, 0x71, last};
    radio.name = name;
    radio.classOfDevice = 0x1C010C;
    radio.manufacturer = 10;
    radio.lmpSubversion = 65535;
    radio.powered = true;
    radio.connectable = true;
    radio.discoverable = index == 1;
    return radio;
}

class RadioSwitching : public ::testing::Test {
protected:
    void SetUp() override {
        controllers.radios = {Controller(0, "hci zero", 0x10), Controller(1, "hci one", 0x11)};
        KvBTUsePlatform(&controllers, &switches);
        ASSERT_EQ(KvBTInitialize(), kRadioOk);
    }
    void TearDown() override {
        KvBTShutdown();
        KvBTUsePlatform(nullptr, nullptr);
    }
    TRadioMapItem& Item(std::size_t index) { return KvBTRadioMap()->Item(index); }
    // A platform radio, switched through the drivers of every present Bluetooth device.
    TRadioMapItem& PlatformRadio() {
        KvBTRadioMap()->AddRadio(rsMicrosoft, nullptr, 0x42);
        return *KvBTRadioMap()->FindRadio(0x42);
    }

    FakeControllers controllers;
    FakeSwitches switches;
};

TEST_F(RadioSwitching, PlatformRadioWithoutAnyBluetoothSwitchEndsAtOnce) {
    EXPECT_EQ(PlatformRadio().SetEnabled(true), kRadioOk);
    EXPECT_EQ(switches.log, "");
}

TEST_F(RadioSwitching, PlatformRadioRefusedGlobalEnableButEnabledDeviceSucceeds) {
    switches.switches = {{3, true, false}};
    switches.allFailure = EPERM;
    EXPECT_EQ(PlatformRadio().SetEnabled(true), kRadioOk);
    EXPECT_EQ(switches.log, "unblock all;unblock 3;");
}

TEST_F(RadioSwitching, PlatformRadioFailingSecondDeviceLeavesTheFirstSwitched) {
    switches.switches = {{3, false, false}, {7, false, false}};
    switches.failing = {{7, EPERM}};
    EXPECT_EQ(PlatformRadio().SetEnabled(false), kRadioStackFailed);
    EXPECT_EQ(switches.log, "block 3;block 7;");
    EXPECT_TRUE(switches.switches[0].softBlocked);
}

TEST_F(RadioSwitching, ControllersFollowTheWindowsStacksWithTheirOwnRecords) {
    ASSERT_EQ(KvBTRadioMap()->Count(), 2u);
    EXPECT_EQ(Item(1).FStack, rsBlueZ);
    EXPECT_EQ(Item(1).FAddress, 0x001A7DDA7111u);
    EXPECT_EQ(Item(1).FController, 1);
    TRadioReading reading;  // a second start: the fixture's map is replaced
    const std::vector<TRadioInfo> radios = reading.ReadAll();
    ASSERT_EQ(radios.size(), 2u);
    EXPECT_EQ(radios[1].FName, "hci one");
    EXPECT_EQ(radios[1].FAddressText, "00:1A:7D:DA:71:11");
    EXPECT_EQ(radios[1].FManufacturer, "Cambridge Silicon Radio");
    EXPECT_EQ(radios[1].FVersion, "65535");
    EXPECT_EQ(radios[1].FClassName, "Laptop Computer");
    EXPECT_TRUE(radios[1].FDiscoverable);
    EXPECT_FALSE(radios[0].FDiscoverable);
    EXPECT_TRUE(radios[0].FConnectable);
}

TEST_F(RadioSwitching, AControllerThatCannotBeReadEndsTheReadingWithItsError) {
    controllers.failures = {{"Read1", ENODEV}};
    std::string message;
    {
        TRadioReading reading;
        try {
            reading.ReadAll();
        } catch (const qm::TError& error) {
            message = error.Message();
        }
    }
    EXPECT_EQ(message, "Unable to read radio information: " + qm::SystemErrorText(ENODEV));
    EXPECT_EQ(KvBTRadioMap(), nullptr) << "the reading shut the layer down";
}

struct ControllerSwitch {
    const char* name;
    int (TRadioMapItem::*operation)(bool);
    bool on;
    std::map<std::string, int> failures;
    const char* controllerLog;
    const char* switchLog;
    int result;
    friend std::ostream& operator<<(std::ostream& out, const ControllerSwitch& c) { return out << c.name; }
};

class ControllerSwitching : public RadioSwitching, public ::testing::WithParamInterface<ControllerSwitch> {};

TEST_P(ControllerSwitching, KeepsTheCoupledOrderAndReportsRefusals) {
    controllers.failures = GetParam().failures;
    switches.controllers = {{1, 9}};
    EXPECT_EQ((Item(1).*GetParam().operation)(GetParam().on), GetParam().result);
    EXPECT_EQ(controllers.log, GetParam().controllerLog);
    EXPECT_EQ(switches.log, GetParam().switchLog);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ControllerSwitching,
    ::testing::Values(
        ControllerSwitch{"DiscoverableOn", &TRadioMapItem::SetDiscoverable, true, {},
                         "Connectable 1 1;Discoverable 1 1;", "", kRadioOk},
        ControllerSwitch{"DiscoverableRefused", &TRadioMapItem::SetDiscoverable, true, {{"Discoverable1", EPERM}},
                         "Connectable 1 1;Discoverable 1 1;", "", kRadioStackFailed},
        ControllerSwitch{"ConnectableOff", &TRadioMapItem::SetConnectable, false, {},
                         "Discoverable 1 0;Connectable 1 0;", "", kRadioOk},
        ControllerSwitch{"PowerOff", &TRadioMapItem::SetEnabled, false, {}, "Powered 1 0;", "", kRadioOk},
        ControllerSwitch{"PowerRefused", &TRadioMapItem::SetEnabled, true, {{"Powered1", EPERM}}, "Powered 1 1;", "",
                         kRadioStackFailed},
        ControllerSwitch{"BlockedByItsOwnSwitch", &TRadioMapItem::SetEnabled, true, {{"Powered1", ERFKILL}},
                         "Powered 1 1;Powered 1 1;", "unblock 9;", kRadioOk}),
    ::testing::PrintToStringParamName());

}  // namespace
