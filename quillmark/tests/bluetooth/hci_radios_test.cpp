// The controllers through raw HCI reads, as on kernels without the management channel: a scripted
// device list and power switch, the emulated controller answering the reads at index 0.

#include <gtest/gtest.h>
#include <sys/socket.h>

#include <cerrno>
#include <string>
#include <vector>

#include "quillmark/bluetooth/platform/HciPackets.h"
#include "quillmark/bluetooth/platform/HciRadios.h"
#include "quillmark/bluetooth/platform/emulated/EmulatedRadio.h"
#include "quillmark/bluetooth/platform/emulated/ScenarioJson.h"

namespace {

using qm::bt::THciDevice;
using qm::bt::TLocalRadio;

class TScriptedDevices : public qm::bt::THciDevices {
public:
    TScriptedDevices(std::vector<THciDevice> devices, std::string& calls)
        : devices_(std::move(devices)), calls_(calls) {}

    int List(std::vector<THciDevice>& devices) override {
        devices = devices_;
        return 0;
    }
    int SetUp(std::uint16_t index, bool up) override {
        calls_ += "hci" + std::to_string(index) + (up ? " up " : " down ");
        return 0;
    }

private:
    std::vector<THciDevice> devices_;
    std::string& calls_;
};

struct TFallback {
    TFallback(const std::string& controllerJson, std::vector<THciDevice> devices)
        : radio(qm::bt::emu::ParseScenario(R"({"controller": )" + controllerJson + "}")),
          radios(qm::bt::MakeHciRadios(radio, std::make_unique<TScriptedDevices>(std::move(devices), calls),
                                       500)) {}

    std::string calls;
    qm::bt::emu::TEmulatedRadio radio;
    std::unique_ptr<qm::bt::TLocalRadios> radios;
};

TEST(HciRadios, PoweredControllerIsReadOverHci) {
    TFallback fallback(R"json({"address": "(00:1A:7D:DA:71:13)", "name": "Desk Radio", "class": "0x1C010C",
                              "discoverable": true})json",
                       {{0, true}});
    std::vector<TLocalRadio> list;
    ASSERT_EQ(fallback.radios->List(list), 0);
    ASSERT_EQ(list.size(), 1u);
    const TLocalRadio& radio = list[0];
    EXPECT_EQ(qm::bt::BTAddressToString(radio.address), "(00:1A:7D:DA:71:13)");
    EXPECT_EQ(radio.name, "Desk Radio");
    EXPECT_EQ(radio.classOfDevice, 0x1C010Cu);
    EXPECT_EQ(radio.manufacturer, 0x0002);
    EXPECT_EQ(radio.lmpSubversion, 0x0100);
    EXPECT_TRUE(radio.powered);
    EXPECT_TRUE(radio.connectable);
    EXPECT_TRUE(radio.discoverable);
}

// A controller that is down answers nothing: only its index and state; one that is gone by the
// time it is read is left out of the list.
TEST(HciRadios, DownAndVanishedControllers) {
    TFallback fallback("{}", {{0, false}, {4, true}});
    std::vector<TLocalRadio> list;
    ASSERT_EQ(fallback.radios->List(list), 0);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].index, 0);
    EXPECT_FALSE(list[0].powered);
    EXPECT_EQ(list[0].address, qm::bt::TBdAddr{});
    EXPECT_EQ(list[0].name, "");
    TLocalRadio radio;
    EXPECT_EQ(fallback.radios->Read(4, radio), ENODEV);
    EXPECT_EQ(fallback.radios->Read(7, radio), ENODEV);
}

TEST(HciRadios, OnlyPowerCanBeSwitched) {
    TFallback fallback("{}", {{0, true}});
    EXPECT_EQ(fallback.radios->SetPowered(0, false), 0);
    EXPECT_EQ(fallback.radios->SetPowered(2, true), 0);
    EXPECT_EQ(fallback.calls, "hci0 down hci2 up ");
    EXPECT_EQ(fallback.radios->SetConnectable(0, true), EOPNOTSUPP);
    EXPECT_EQ(fallback.radios->SetDiscoverable(0, true), EOPNOTSUPP);
}

// A controller socket whose events are queued before the reads begin.
class TScriptedController : public qm::bt::TSocketFactory {
public:
    explicit TScriptedController(std::vector<std::vector<std::uint8_t>> events)
        : events_(std::move(events)) {}

    qm::bt::TUniqueFd OpenController(int& error) override { return Fail(error); }
    qm::bt::TUniqueFd ConnectSdp(const qm::bt::TBdAddr&, int, int& error) override { return Fail(error); }
    qm::bt::TUniqueFd OpenControllerAt(std::uint16_t, int& error) override {
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) return Fail(error);
        peer_.Reset(ends[1]);
        for (const auto& event : events_)
            EXPECT_EQ(::send(ends[1], event.data(), event.size(), 0), static_cast<ssize_t>(event.size()));
        return qm::bt::TUniqueFd(ends[0]);
    }

private:
    static qm::bt::TUniqueFd Fail(int& error) {
        error = ENODEV;
        return qm::bt::TUniqueFd();
    }

    std::vector<std::vector<std::uint8_t>> events_;
    qm::bt::TUniqueFd peer_;
};

// The first read is Read BD_ADDR (0x1009): its answer decides.
TEST(HciRadios, FailedAndMalformedAnswersAreErrors) {
    struct TCase {
        const char* what;
        std::vector<std::vector<std::uint8_t>> events;
        int result;
    };
    const std::vector<TCase> cases{
        {"silence", {}, ETIMEDOUT},
        {"refused", {{0x04, 0x0F, 0x04, 0x0C, 0x01, 0x09, 0x10}}, EIO},
        {"failing status", {{0x04, 0x0E, 0x04, 0x01, 0x09, 0x10, 0x0C}}, EIO},
        {"no status", {{0x04, 0x0E, 0x03, 0x01, 0x09, 0x10}}, EBADMSG},
        {"address cut short", {{0x04, 0x0E, 0x07, 0x01, 0x09, 0x10, 0x00, 0x13, 0x71, 0xDA}}, EBADMSG},
        {"only other and malformed events",
         {{0x04, 0x0E, 0x04, 0x01, 0x01, 0x10, 0x00}, {0x04, 0x0E, 0x09, 0x01}, {0x04, 0x01, 0x01, 0x00}},
         ETIMEDOUT},
    };
    for (const auto& c : cases) {
        TScriptedController controller(c.events);
        std::string calls;
        const auto radios = qm::bt::MakeHciRadios(
            controller, std::make_unique<TScriptedDevices>(std::vector<THciDevice>{{0, true}}, calls), 100);
        TLocalRadio radio;
        EXPECT_EQ(radios->Read(0, radio), c.result) << c.what;
    }
}

}  // namespace
