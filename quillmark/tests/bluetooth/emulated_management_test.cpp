// The emulated radio's management channel, packet by packet: what each command is answered with.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillmark/bluetooth/platform/ManagementPackets.h"
#include "quillmark/bluetooth/platform/PacketIo.h"
#include "quillmark/bluetooth/platform/emulated/EmulatedRadio.h"
#include "quillmark/bluetooth/platform/emulated/ScenarioJson.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace mgmt = qm::bt::mgmt;

Bytes Packet(std::uint16_t code, std::uint16_t index, const Bytes& parameters) {
    return qm::bt::MgmtPacket(code, index, parameters);
}

// Starts connectable, not discoverable, powered (settings 0x83 with BR/EDR).
TEST(EmulatedManagement, AnswersEachCommandAsTheKernelDoes) {
    struct TCase {
        const char* what;
        Bytes command;
        std::vector<Bytes> answers;
    };
    const std::vector<TCase> cases{
        {"index list",
         Packet(mgmt::kReadIndexList, mgmt::kNoIndex, {}),
         {Packet(mgmt::kEvCommandComplete, mgmt::kNoIndex, {0x03, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00})}},
        {"index list of a controller",
         Packet(mgmt::kReadIndexList, 0, {}),
         {Packet(mgmt::kEvCommandStatus, 0, {0x03, 0x00, 0x11})}},
        {"discoverable on",
         Packet(mgmt::kSetDiscoverable, 0, {0x01, 0x00, 0x00}),
         {Packet(mgmt::kEvNewSettings, 0, {0x8B, 0x00, 0x00, 0x00}),
          Packet(mgmt::kEvCommandComplete, 0, {0x06, 0x00, 0x00, 0x8B, 0x00, 0x00, 0x00})}},
        {"connectable off",
         Packet(mgmt::kSetConnectable, 0, {0x00}),
         {Packet(mgmt::kEvNewSettings, 0, {0x81, 0x00, 0x00, 0x00}),
          Packet(mgmt::kEvCommandComplete, 0, {0x07, 0x00, 0x00, 0x81, 0x00, 0x00, 0x00})}},
        {"discoverable while not connectable",
         Packet(mgmt::kSetDiscoverable, 0, {0x01, 0x00, 0x00}),
         {Packet(mgmt::kEvCommandStatus, 0, {0x06, 0x00, 0x0B})}},
        {"off with a timeout",
         Packet(mgmt::kSetDiscoverable, 0, {0x00, 0x10, 0x00}),
         {Packet(mgmt::kEvCommandStatus, 0, {0x06, 0x00, 0x0D})}},
        {"limited discoverable",
         Packet(mgmt::kSetDiscoverable, 0, {0x02, 0x10, 0x00}),
         {Packet(mgmt::kEvCommandStatus, 0, {0x06, 0x00, 0x0D})}},
        {"power with no value",
         Packet(mgmt::kSetPowered, 0, {}),
         {Packet(mgmt::kEvCommandStatus, 0, {0x05, 0x00, 0x0D})}},
        {"power of 2",
         Packet(mgmt::kSetPowered, 0, {0x02}),
         {Packet(mgmt::kEvCommandStatus, 0, {0x05, 0x00, 0x0D})}},
        {"power off",
         Packet(mgmt::kSetPowered, 0, {0x00}),
         {Packet(mgmt::kEvNewSettings, 0, {0x80, 0x00, 0x00, 0x00}),
          Packet(mgmt::kEvCommandComplete, 0, {0x05, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00})}},
        {"another controller",
         Packet(mgmt::kSetPowered, 1, {0x01}),
         {Packet(mgmt::kEvCommandStatus, 1, {0x05, 0x00, 0x11})}},
        {"unknown command", Packet(0x0029, 0, {}), {Packet(mgmt::kEvCommandStatus, 0, {0x29, 0x00, 0x01})}},
    };
    qm::bt::emu::TEmulatedRadio radio(qm::bt::emu::ParseScenario("{}"));
    int error = 0;
    const qm::bt::TUniqueFd channel = radio.OpenManagement(error);
    ASSERT_TRUE(channel.Valid()) << error;
    for (const auto& c : cases) {
        ASSERT_TRUE(qm::bt::SendPacket(channel.Get(), c.command).Ok()) << c.what;
        for (const Bytes& expected : c.answers) {
            Bytes answer;
            ASSERT_TRUE(qm::bt::ReceivePacket(channel.Get(), qm::bt::DeadlineIn(2000), answer).Ok())
                << c.what;
            EXPECT_EQ(answer, expected) << c.what;
        }
    }
}

TEST(EmulatedManagement, ControllerInformationOfTheScenario) {
    qm::bt::emu::TEmulatedRadio radio(qm::bt::emu::ParseScenario(
        R"json({"controller": {"address": "(00:1A:7D:DA:71:13)", "name": "Radio", "class": "0x1C010C",
                               "powered": false}})json"));
    int error = 0;
    const qm::bt::TUniqueFd channel = radio.OpenManagement(error);
    ASSERT_TRUE(channel.Valid()) << error;
    ASSERT_TRUE(qm::bt::SendPacket(channel.Get(), Packet(mgmt::kReadInfo, 0, {})).Ok());
    Bytes answer;
    ASSERT_TRUE(qm::bt::ReceivePacket(channel.Get(), qm::bt::DeadlineIn(2000), answer).Ok());
    Bytes expected{0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00,  // Command Complete of Read Info
                   0x13, 0x71, 0xDA, 0x7D, 0x1A, 0x00,                    // address
                   0x09, 0x02, 0x00,                                      // version, manufacturer
                   0x8B, 0x00, 0x00, 0x00, 0x82, 0x00, 0x00, 0x00,        // supported, current settings
                   0x0C, 0x01, 0x1C, 'R',  'a',  'd',  'i',  'o'};
    expected.resize(mgmt::kHeaderSize + 3 + mgmt::kInfoSize, 0);
    expected[4] = static_cast<std::uint8_t>(3 + mgmt::kInfoSize);
    expected[5] = static_cast<std::uint8_t>((3 + mgmt::kInfoSize) >> 8);
    EXPECT_EQ(answer, expected);
}

}  // namespace
