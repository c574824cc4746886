// Scenario files of the emulated radio: presence over time, built records, errors, and the
// built-in scenario.

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "quillmark/base/Error.h"
#include "quillmark/bluetooth/platform/emulated/DefaultScenario.h"
#include "quillmark/bluetooth/platform/emulated/ScenarioJson.h"
#include "quillmark/sdp/SdpRecordText.h"

namespace {

using qm::bt::emu::ParseScenario;
using qm::bt::emu::TPresence;

TEST(Presence, WindowsAndCycles) {
    struct TCase {
        TPresence presence;
        std::int64_t at;
        bool present;
    };
    const TPresence window{.from = 10, .until = 20};
    const TPresence cycle{.period = 100, .onFor = 30, .offset = 50};
    const std::vector<TCase> cases{
        {TPresence{}, -5, true}, {window, 9, false}, {window, 10, true}, {window, 19, true},
        {window, 20, false},     {cycle, 49, false}, {cycle, 50, true},  {cycle, 79, true},
        {cycle, 80, false},      {cycle, 150, true}, {cycle, -50, true}, {cycle, -19, false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.presence.At(c.at), c.present) << "at " << c.at;
}

TEST(ScenarioJson, BuiltRecordRendersAsTheUsualAttributes) {
    const auto scenario = ParseScenario(R"({"devices": [{"address": "00:11:22:AA:BB:CC", "records": [
        {"classes": ["0x1101"], "rfcomm": 3, "profiles": [["0x1101", "0x0102"]], "name": "COM1"}]}]})");
    ASSERT_EQ(scenario.devices.size(), 1u);
    const std::string text = qm::SDPRecordText(scenario.devices[0].records.at(0));
    EXPECT_NE(text.find("ServiceRecordHandle = 65536\n"), std::string::npos) << text;
    EXPECT_NE(text.find("ServiceClassIDList = [SerialPort]\n"), std::string::npos) << text;
    EXPECT_NE(text.find("ProtocolDescriptorList = [[L2CAP], [RFCOMM, 3]]\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" = COM1\n"), std::string::npos) << text;
}

// Advertising data built from fields comes out as AD structures in a fixed order; raw bytes pass
// as given, malformed or not.
TEST(ScenarioJson, LeAdvertisingBuiltFromFieldsOrGivenRaw) {
    const auto scenario = ParseScenario(R"({"devices": [
        {"address": "00:11:22:AA:BB:CC", "classic": false,
         "le": {"addressType": "random-static", "intervalMs": 250, "eventType": "scannable",
                "advertising": {"flags": 6, "uuids16": ["0x180F", "0xFEED"], "txPower": -8,
                                "appearance": "0x00C1", "manufacturer": {"company": "0x004C", "hex": "12 02"}},
                "scanResponse": {"name": "Tag"}}},
        {"address": "00:11:22:AA:BB:CD",
         "le": {"advertising": {"hex": "02 01 06 09 FF 00"}, "extended": true,
                "scanResponse": {"serviceData": [{"uuid": "0xFEAA", "hex": "40"}],
                                 "uuids128": ["0000fe2c-0000-1000-8000-00805f9b34fb"]}}}]})");
    ASSERT_EQ(scenario.devices.size(), 2u);
    const auto& tag = scenario.devices[0];
    EXPECT_FALSE(tag.classic);
    ASSERT_TRUE(tag.le);
    EXPECT_EQ(tag.le->addressKind, qm::bt::emu::TLeAddressKind::RandomStatic);
    EXPECT_EQ(tag.le->intervalMs, 250);
    EXPECT_EQ(tag.le->eventType, qm::bt::emu::TLeEventType::Scannable);
    EXPECT_EQ(tag.le->advertising, std::string("\x02\x01\x06"
                                               "\x05\x03\x0F\x18\xED\xFE"
                                               "\x02\x0A\xF8"
                                               "\x03\x19\xC1\x00"
                                               "\x05\xFF\x4C\x00\x12\x02",
                                               22));
    EXPECT_EQ(tag.le->scanResponse, std::optional<std::string>("\x04\x09Tag"));
    const auto& dual = scenario.devices[1];
    EXPECT_TRUE(dual.classic);
    EXPECT_EQ(dual.le->advertising, std::string("\x02\x01\x06\x09\xFF\x00", 6));
    const std::string uuid128("\xFB\x34\x9B\x5F\x80\x00\x00\x80\x00\x10\x00\x00\x2C\xFE\x00\x00", 16);
    EXPECT_EQ(dual.le->scanResponse, std::optional<std::string>(std::string("\x11\x07", 2) + uuid128 +
                                                                 std::string("\x04\x16\xAA\xFE\x40", 5)));
}

TEST(ScenarioJson, LeAdvertisersRefuseWhatTheyCannotSend) {
    for (const char* le : {
             R"({"advertising": {"name": "A name far too long for legacy advertising data"}})",
             R"({"addressType": "secret"})",
             R"({"eventType": "directed"})",
             R"({"intervalMs": 5})",
             R"({"rotateSeconds": 0})",
             R"({"advertising": {"txPower": 200}})",
             R"({"advertising": {"colour": "red"}})",
         }) {
        const std::string text =
            std::string(R"({"devices": [{"address": "00:11:22:AA:BB:CC", "le": )") + le + "}]}";
        EXPECT_THROW(ParseScenario(text), qm::TError) << le;
    }
    EXPECT_THROW(ParseScenario(R"({"devices": [{"address": "00:11:22:AA:BB:CC", "classic": false}]})"),
                 qm::TError);
    std::string extended(R"({"devices": [{"address": "00:11:22:AA:BB:CC", "le": {"extended": true,
        "advertising": {"manufacturer": {"company": 1, "hex": ")");
    for (int i = 0; i < 247; ++i) extended += "AB ";
    EXPECT_EQ(ParseScenario(extended + R"("}}}}]})").devices[0].le->advertising.size(), 251u);
    EXPECT_THROW(ParseScenario(extended + R"(CD"}}}}]})"), qm::TError);
}

// A private address keeps its kind's top bits and changes once per rotation period; a static or
// public one never changes.
TEST(LeAdvertiser, AddressesByKindAndRotation) {
    const qm::bt::TBdAddr identity{{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}};
    using qm::bt::emu::TLeAddressKind;
    qm::bt::emu::TLeAdvertiser le;
    le.rotateSeconds = 60;
    struct TCase {
        TLeAddressKind kind;
        std::uint8_t top;
        bool rotates;
    };
    for (const TCase& c : {TCase{TLeAddressKind::Public, 0x00, false}, TCase{TLeAddressKind::RandomStatic, 0xC0, false},
                           TCase{TLeAddressKind::Resolvable, 0x40, true},
                           TCase{TLeAddressKind::NonResolvable, 0x00, true}}) {
        le.addressKind = c.kind;
        const auto first = le.AddressAt(identity, 0);
        EXPECT_EQ(le.AddressAt(identity, 59), first);
        EXPECT_EQ(le.AddressAt(identity, 60) != first, c.rotates);
        if (c.kind == TLeAddressKind::Public) {
            EXPECT_EQ(first, identity);
        } else {
            EXPECT_EQ(first.bytes[0] & 0xC0, c.top);
            EXPECT_EQ(le.AddressAt(identity, 600).bytes[0] & 0xC0, c.top);
        }
    }
}

TEST(ScenarioJson, ControllerStateAndRefusal) {
    const auto defaults = ParseScenario("{}").controller;
    EXPECT_EQ(qm::bt::BTAddressToString(defaults.address), "(00:1A:7D:DA:71:13)");
    EXPECT_TRUE(defaults.powered);
    EXPECT_TRUE(defaults.connectable);
    EXPECT_FALSE(defaults.discoverable);
    EXPECT_FALSE(defaults.managementRefused);
    EXPECT_EQ(defaults.manufacturer, 2);
    EXPECT_EQ(defaults.lmpSubversion, 256);

    const auto set = ParseScenario(R"json({"controller": {"address": "(0a:0b:0c:0d:0e:0f)", "powered": false,
        "connectable": true, "discoverable": true, "managementRefused": true, "manufacturer": 10,
        "lmpSubversion": "0xFFFF"}})json")
                         .controller;
    EXPECT_EQ(qm::bt::BTAddressToString(set.address), "(0A:0B:0C:0D:0E:0F)");
    EXPECT_FALSE(set.powered);
    EXPECT_TRUE(set.connectable);
    EXPECT_TRUE(set.discoverable);
    EXPECT_TRUE(set.managementRefused);
    EXPECT_EQ(set.manufacturer, 10);
    EXPECT_EQ(set.lmpSubversion, 65535);
}

TEST(ScenarioJson, InvalidScenariosAreReported) {
    for (
        const char* text : {
            "{",
            R"({"devices": [{"name": "no address"}]})",
            R"({"devices": [{"address": "00:11:22:AA:BB"}]})",
            R"({"devices": [{"address": "00:11:22:AA:BB:CC", "format": "fancy"}]})",
            R"({"devices": [{"address": "00:11:22:AA:BB:CC", "class": "0x1000000"}]})",
            R"({"devices": [{"address": "00:11:22:AA:BB:CC", "records": [{"hex": "35 0"}]}]})",
            R"({"devices": [{"address": "00:11:22:AA:BB:CC", "records": [{"attributes": [[1, {"float": 1}]]}]}]})",
            R"({"sdpMtu": 0})",
            R"({"controller": {"address": "00:1A:7D:DA:71"}})",
            R"({"controller": {"powered": "yes"}})",
            R"({"controller": {"manufacturer": 65536}})",
            R"({"controller": {"connectable": false, "discoverable": true}})",
            R"({"devices": [{"address": "00:11:22:AA:BB:CC", "records": [{"classes": ["00001101-0000-1000-8000-00805F9B34::"]}]}]})",
        }) {
        try {
            ParseScenario(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const qm::TError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Invalid scenario: ", 0), 0u) << e.what();
        }
    }
}

// Every object of the format refuses a key it does not know, naming the key and where it was.
TEST(ScenarioJson, UnknownKeysAreRefusedWithTheirName) {
    const std::vector<std::pair<const char*, const char*>> cases{
        {R"({"device": []})", "unknown key \"device\" in the scenario"},
        {R"({"controller": {"discoverible": true}})", "unknown key \"discoverible\" in the controller"},
        {R"({"devices": [{"address": "00:11:22:AA:BB:CC", "nmae": "x"}]})", "unknown key \"nmae\" in a device"},
        {R"({"devices": [{"address": "00:11:22:AA:BB:CC", "misbehave": {"sdpSlient": true}}]})",
         "unknown key \"sdpSlient\" in a device's misbehave"},
        {R"({"devices": [{"address": "00:11:22:AA:BB:CC", "presence": {"form": 5}}]})",
         "unknown key \"form\" in a presence"},
        {R"({"devices": [{"address": "00:11:22:AA:BB:CC", "signal": {"db": -50}}]})",
         "unknown key \"db\" in a signal"},
        {R"({"devices": [{"address": "00:11:22:AA:BB:CC", "records": [{"rfcom": 3}]}]})",
         "unknown key \"rfcom\" in a record"},
        {R"({"devices": [{"address": "00:11:22:AA:BB:CC", "records": [{"hex": "35 00", "name": "x"}]}]})",
         "unknown key \"name\" in a record"},
        {R"({"devices": [{"address": "00:11:22:AA:BB:CC", "signal": 30}]})", "signal out of range: 30"},
    };
    for (const auto& [text, reason] : cases) {
        try {
            ParseScenario(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const qm::TError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("Invalid scenario: ") + reason) << text;
        }
    }
}

TEST(DefaultScenario, EverydayDevicesWithReadableRecords) {
    const auto scenario = qm::bt::emu::DefaultScenario();
    EXPECT_GE(scenario.devices.size(), 10u);
    std::set<qm::bt::TBdAddr> addresses;
    int comingAndGoing = 0;
    for (const auto& device : scenario.devices) {
        addresses.insert(device.address);
        if (device.presence.period > 0 || device.presence.until != TPresence{}.until) ++comingAndGoing;
        for (const auto& record : device.records) EXPECT_NO_THROW(qm::SDPRecordText(record));
    }
    EXPECT_EQ(addresses.size(), scenario.devices.size());
    EXPECT_GE(comingAndGoing, 3);
}

}  // namespace
