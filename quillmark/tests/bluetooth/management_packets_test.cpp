// The management channel's packet parsers on well-formed and malformed bytes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillmark/bluetooth/platform/ManagementPackets.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace mgmt = qm::bt::mgmt;

TEST(ManagementPackets, PacketLengthMustMatchItsHeader) {
    struct TCase {
        const char* what;
        Bytes message;
        bool accepted;
    };
    const std::vector<TCase> cases{
        {"empty", {}, false},
        {"header cut short", {0x06, 0x00, 0x00, 0x00, 0x00}, false},
        {"no parameters", {0x04, 0x00, 0x01, 0x00, 0x00, 0x00}, true},
        {"parameters as long as said", {0x06, 0x00, 0x00, 0x00, 0x02, 0x00, 0xAA, 0xBB}, true},
        {"parameters shorter than said", {0x06, 0x00, 0x00, 0x00, 0x03, 0x00, 0xAA, 0xBB}, false},
        {"parameters longer than said", {0x06, 0x00, 0x00, 0x00, 0x01, 0x00, 0xAA, 0xBB}, false},
        {"length beyond any message", {0x06, 0x00, 0x00, 0x00, 0xFF, 0xFF}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qm::bt::ParseMgmtPacket(c.message).has_value(), c.accepted) << c.what;

    const auto packet = qm::bt::ParseMgmtPacket(Bytes{0x06, 0x00, 0x02, 0x01, 0x02, 0x00, 0xAA, 0xBB});
    ASSERT_TRUE(packet);
    EXPECT_EQ(packet->code, 0x0006);
    EXPECT_EQ(packet->index, 0x0102);
    EXPECT_EQ(packet->parameters, (Bytes{0xAA, 0xBB}));
}

TEST(ManagementPackets, RepliesOfCompleteAndStatusOnly) {
    struct TCase {
        const char* what;
        std::uint16_t code;
        Bytes parameters;
        bool reply;
    };
    const std::vector<TCase> cases{
        {"complete", mgmt::kEvCommandComplete, {0x05, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00}, true},
        {"complete without return parameters", mgmt::kEvCommandComplete, {0x03, 0x00, 0x00}, true},
        {"complete without status", mgmt::kEvCommandComplete, {0x05, 0x00}, false},
        {"status", mgmt::kEvCommandStatus, {0x05, 0x00, 0x14}, true},
        {"status with more", mgmt::kEvCommandStatus, {0x05, 0x00, 0x14, 0x00}, false},
        {"status without status", mgmt::kEvCommandStatus, {0x05}, false},
        {"new settings", mgmt::kEvNewSettings, {0x05, 0x00, 0x00, 0x00}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qm::bt::MgmtReplyOf({c.code, 0, c.parameters}).has_value(), c.reply) << c.what;

    const auto reply = qm::bt::MgmtReplyOf({mgmt::kEvCommandComplete, 0, {0x07, 0x00, 0x0D, 0x03, 0x00}});
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->opcode, mgmt::kSetConnectable);
    EXPECT_EQ(reply->status, mgmt::kStatusInvalidParameters);
    EXPECT_EQ(reply->returned, (Bytes{0x03, 0x00}));
}

TEST(ManagementPackets, IndexListCountMustMatch) {
    EXPECT_EQ(qm::bt::ParseMgmtIndexList(Bytes{0x02, 0x00, 0x00, 0x00, 0x03, 0x00}),
              (std::vector<std::uint16_t>{0, 3}));
    EXPECT_EQ(qm::bt::ParseMgmtIndexList(Bytes{0x00, 0x00}), std::vector<std::uint16_t>{});
    for (const Bytes& bad : {Bytes{}, Bytes{0x01}, Bytes{0x01, 0x00}, Bytes{0x01, 0x00, 0x00},
                             Bytes{0x01, 0x00, 0x00, 0x00, 0x00, 0x00}, Bytes{0xFF, 0xFF, 0x00, 0x00}})
        EXPECT_FALSE(qm::bt::ParseMgmtIndexList(bad)) << bad.size();
}

TEST(ManagementPackets, ControllerInformationFields) {
    Bytes info{0x13, 0x71, 0xDA, 0x7D, 0x1A, 0x00, 0x09, 0x0F, 0x00, 0xFF,
               0x00, 0x00, 0x00, 0x83, 0x00, 0x00, 0x00, 0x0C, 0x01, 0x1C};
    const std::size_t nameAt = info.size();
    info.resize(mgmt::kInfoSize, 'N');  // neither name is terminated: each ends with its field
    const auto parsed = qm::bt::ParseMgmtControllerInfo(info);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(qm::bt::BTAddressToString(parsed->address), "(00:1A:7D:DA:71:13)");
    EXPECT_EQ(parsed->version, 9);
    EXPECT_EQ(parsed->manufacturer, 0x000F);
    EXPECT_EQ(parsed->supportedSettings, 0xFFu);
    EXPECT_EQ(parsed->currentSettings, 0x83u);
    EXPECT_EQ(parsed->classOfDevice, 0x1C010Cu);
    EXPECT_EQ(parsed->name, std::string(mgmt::kNameField, 'N'));
    EXPECT_EQ(parsed->shortName, std::string(mgmt::kShortNameField, 'N'));

    info[nameAt + 2] = 0;
    EXPECT_EQ(qm::bt::ParseMgmtControllerInfo(info)->name, "NN");
    info.push_back(0xEE);
    EXPECT_TRUE(qm::bt::ParseMgmtControllerInfo(info)) << "a longer reply keeps its known fields";
    info.resize(mgmt::kInfoSize - 1);
    EXPECT_FALSE(qm::bt::ParseMgmtControllerInfo(info));
}

}  // namespace
