// The machine's controllers over the management channel: against the emulated radio for what a
// kernel answers, and against a scripted channel for what a hostile or silent one does.

#include <gtest/gtest.h>
#include <sys/socket.h>

#include <cerrno>
#include <functional>
#include <string>
#include <vector>

#include "quillmark/bluetooth/platform/ByteOrder.h"
#include "quillmark/bluetooth/platform/LocalRadios.h"
#include "quillmark/bluetooth/platform/ManagementPackets.h"
#include "quillmark/bluetooth/platform/ManagementRadios.h"
#include "quillmark/bluetooth/platform/emulated/EmulatedRadio.h"
#include "quillmark/bluetooth/platform/emulated/ScenarioJson.h"

namespace {

using qm::bt::TLocalRadio;
using qm::bt::TLocalRadios;
using Bytes = std::vector<std::uint8_t>;
namespace mgmt = qm::bt::mgmt;

struct TEmulated {
    explicit TEmulated(const std::string& controllerJson)
        : radio(qm::bt::emu::ParseScenario(R"({"controller": )" + controllerJson + "}")),
          radios(qm::bt::MakeLocalRadios(radio)) {}

    TLocalRadio ReadZero() {
        TLocalRadio radio;
        EXPECT_EQ(radios->Read(0, radio), 0);
        return radio;
    }

    qm::bt::emu::TEmulatedRadio radio;
    std::unique_ptr<TLocalRadios> radios;
};

TEST(LocalRadios, ListsTheControllerWithItsInformation) {
    TEmulated emulated(
        R"json({"address": "(00:1A:7D:DA:71:13)", "name": "Desk Radio", "class": "0x1C010C"})json");
    std::vector<TLocalRadio> list;
    ASSERT_EQ(emulated.radios->List(list), 0);
    ASSERT_EQ(list.size(), 1u);
    const TLocalRadio& radio = list[0];
    EXPECT_EQ(radio.index, 0);
    EXPECT_EQ(qm::bt::BTAddressToString(radio.address), "(00:1A:7D:DA:71:13)");
    EXPECT_EQ(radio.name, "Desk Radio");
    EXPECT_EQ(radio.classOfDevice, 0x1C010Cu);
    EXPECT_EQ(radio.manufacturer, 0x0002);
    EXPECT_EQ(radio.lmpSubversion, 0x0100);
    EXPECT_TRUE(radio.powered);
    EXPECT_TRUE(radio.connectable);
    EXPECT_FALSE(radio.discoverable);
}

TEST(LocalRadios, PoweredOffControllerIsListedWithoutItsVersion) {
    TEmulated emulated(R"({"powered": false, "connectable": false})");
    std::vector<TLocalRadio> list;
    ASSERT_EQ(emulated.radios->List(list), 0);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_FALSE(list[0].powered);
    EXPECT_FALSE(list[0].connectable);
    EXPECT_EQ(list[0].lmpSubversion, 0);
    EXPECT_EQ(list[0].name, "Quillmark Emulated Radio");
}

TEST(LocalRadios, NamesAreValidText) {
    TEmulated emulated(R"({"name": "Caf\u00e9 \u00ff"})");
    EXPECT_EQ(emulated.ReadZero().name, "Caf\xC3\xA9 \xC3\xBF");
}

// Each step switches one setting and shows the state after it, or the refusal.
TEST(LocalRadios, SwitchingFollowsTheKernelsCouplings) {
    struct TStep {
        const char* what;
        std::function<int(TLocalRadios&)> set;
        int result;
        bool powered, connectable, discoverable;
    };
    const std::vector<TStep> steps{
        {"discoverable on", [](TLocalRadios& r) { return r.SetDiscoverable(0, true); }, 0, true, true, true},
        {"connectable off ends discoverable", [](TLocalRadios& r) { return r.SetConnectable(0, false); }, 0,
         true, false, false},
        {"discoverable needs connectable", [](TLocalRadios& r) { return r.SetDiscoverable(0, true); }, EINVAL,
         true, false, false},
        {"connectable on", [](TLocalRadios& r) { return r.SetConnectable(0, true); }, 0, true, true, false},
        {"power off keeps the scan settings", [](TLocalRadios& r) { return r.SetPowered(0, false); }, 0,
         false, true, false},
        {"discoverable while off", [](TLocalRadios& r) { return r.SetDiscoverable(0, true); }, 0, false, true,
         true},
        {"power on", [](TLocalRadios& r) { return r.SetPowered(0, true); }, 0, true, true, true},
        {"discoverable off", [](TLocalRadios& r) { return r.SetDiscoverable(0, false); }, 0, true, true,
         false},
    };
    TEmulated emulated("{}");
    for (const auto& step : steps) {
        EXPECT_EQ(step.set(*emulated.radios), step.result) << step.what;
        const TLocalRadio radio = emulated.ReadZero();
        EXPECT_EQ(radio.powered, step.powered) << step.what;
        EXPECT_EQ(radio.connectable, step.connectable) << step.what;
        EXPECT_EQ(radio.discoverable, step.discoverable) << step.what;
    }
}

// The state belongs to the radio: another client and the HCI side see what one client switched.
TEST(LocalRadios, SwitchedStateIsSharedByEveryConnection) {
    TEmulated emulated("{}");
    const auto other = qm::bt::MakeLocalRadios(emulated.radio);
    ASSERT_EQ(other->SetPowered(0, false), 0);
    EXPECT_FALSE(emulated.ReadZero().powered);
    EXPECT_EQ(emulated.ReadZero().lmpSubversion, 0);
    int error = 0;
    EXPECT_FALSE(emulated.radio.OpenController(error).Valid());
    EXPECT_EQ(error, ENODEV);
    ASSERT_EQ(other->SetPowered(0, true), 0);
    EXPECT_TRUE(emulated.radio.OpenController(error).Valid());
    EXPECT_EQ(emulated.ReadZero().lmpSubversion, 0x0100);
}

TEST(LocalRadios, RefusedSwitchingIsPermissionDeniedAndChangesNothing) {
    TEmulated emulated(R"({"managementRefused": true})");
    EXPECT_EQ(emulated.radios->SetPowered(0, false), EPERM);
    EXPECT_EQ(emulated.radios->SetConnectable(0, false), EPERM);
    EXPECT_EQ(emulated.radios->SetDiscoverable(0, true), EPERM);
    const TLocalRadio radio = emulated.ReadZero();
    EXPECT_TRUE(radio.powered);
    EXPECT_TRUE(radio.connectable);
    EXPECT_FALSE(radio.discoverable);
}

TEST(LocalRadios, UnknownControllerIsGone) {
    TEmulated emulated("{}");
    TLocalRadio radio;
    EXPECT_EQ(emulated.radios->Read(1, radio), ENODEV);
    EXPECT_EQ(emulated.radios->SetPowered(1, true), ENODEV);
    EXPECT_EQ(emulated.radios->SetConnectable(7, true), ENODEV);
    EXPECT_EQ(emulated.radios->SetDiscoverable(mgmt::kNoIndex, true), ENODEV);
}

// A management channel whose answers are queued before the client asks: what a kernel (or
// something pretending to be one) might send.
class TScriptedChannel : public qm::bt::TSocketFactory {
public:
    // openError: the opening fails with it; closing: the kernel's end closes after the script.
    explicit TScriptedChannel(std::vector<Bytes> script, int openError = 0, bool closing = false)
        : script_(std::move(script)), openError_(openError), closing_(closing) {}

    qm::bt::TUniqueFd OpenController(int& error) override { return Fail(ENODEV, error); }
    qm::bt::TUniqueFd ConnectSdp(const qm::bt::TBdAddr&, int, int& error) override {
        return Fail(EHOSTDOWN, error);
    }
    qm::bt::TUniqueFd OpenControllerAt(std::uint16_t, int& error) override { return Fail(ENODEV, error); }
    qm::bt::TUniqueFd OpenManagement(int& error) override {
        if (openError_) return Fail(openError_, error);
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) return Fail(errno, error);
        peer_.Reset(ends[1]);
        for (const auto& message : script_)
            EXPECT_EQ(::send(ends[1], message.data(), message.size(), 0),
                      static_cast<ssize_t>(message.size()));
        if (closing_) peer_.Reset();
        return qm::bt::TUniqueFd(ends[0]);
    }

private:
    static qm::bt::TUniqueFd Fail(int code, int& error) {
        error = code;
        return qm::bt::TUniqueFd();
    }

    std::vector<Bytes> script_;
    int openError_;
    bool closing_;
    qm::bt::TUniqueFd peer_;
};

Bytes Reply(std::uint16_t event, std::uint16_t index, std::uint16_t opcode, std::uint8_t status,
            const Bytes& returned = {}) {
    Bytes parameters;
    qm::bt::AppendLe16(parameters, opcode);
    parameters.push_back(status);
    qm::bt::AppendBytes(parameters, returned);
    return qm::bt::MgmtPacket(event, index, parameters);
}

Bytes Complete(std::uint16_t opcode, const Bytes& returned, std::uint16_t index = 0) {
    return Reply(mgmt::kEvCommandComplete, index, opcode, 0, returned);
}

Bytes Info(std::uint32_t settings, const std::string& name) {
    Bytes info{0x13, 0x71, 0xDA, 0x7D, 0x1A, 0x00, 9};
    qm::bt::AppendLe16(info, 0x000F);
    qm::bt::AppendLe32(info, 0xFF);
    qm::bt::AppendLe32(info, settings);
    qm::bt::AppendLe24(info, 0x1C010C);
    qm::bt::AppendBytes(info, name);
    info.resize(mgmt::kInfoSize, 0);
    return info;
}

const Bytes kSettings{0x03, 0, 0, 0};

int ReadScripted(std::vector<Bytes> script, TLocalRadio& radio) {
    TScriptedChannel channel(std::move(script));
    return qm::bt::MakeManagementRadios(channel, 100, nullptr)->Read(0, radio);
}

TEST(ManagementChannel, EventsNobodyAskedForAreSkipped) {
    TLocalRadio radio;
    const int result = ReadScripted(
        {qm::bt::MgmtPacket(mgmt::kEvIndexAdded, 1), qm::bt::MgmtPacket(mgmt::kEvNewSettings, 0, kSettings),
         Complete(mgmt::kSetPowered, kSettings), Complete(mgmt::kReadInfo, Info(0, "other"), 1),
         Complete(mgmt::kReadInfo, Info(0x0B, "Mine"))},
        radio);
    ASSERT_EQ(result, 0);
    EXPECT_EQ(radio.name, "Mine");
    EXPECT_TRUE(radio.powered && radio.connectable && radio.discoverable);
    EXPECT_EQ(radio.manufacturer, 0x000F);
    EXPECT_EQ(radio.lmpSubversion, 0) << "the scripted channel has no HCI socket";
}

TEST(ManagementChannel, FailedAndMalformedRepliesAreErrors) {
    struct TCase {
        const char* what;
        std::vector<Bytes> script;
        int result;
    };
    Bytes shortInfo = Info(0, "x");
    shortInfo.pop_back();
    Bytes lengthMismatch = Complete(mgmt::kReadInfo, Info(0, "x"));
    lengthMismatch.pop_back();
    const std::vector<TCase> cases{
        {"silence", {}, ETIMEDOUT},
        {"only other events", {qm::bt::MgmtPacket(mgmt::kEvIndexRemoved, 0)}, ETIMEDOUT},
        {"denied", {Reply(mgmt::kEvCommandStatus, 0, mgmt::kReadInfo, mgmt::kStatusPermissionDenied)}, EPERM},
        {"invalid index",
         {Reply(mgmt::kEvCommandStatus, 0, mgmt::kReadInfo, mgmt::kStatusInvalidIndex)},
         ENODEV},
        {"rfkilled", {Reply(mgmt::kEvCommandStatus, 0, mgmt::kReadInfo, mgmt::kStatusRfkilled)}, ERFKILL},
        {"busy", {Reply(mgmt::kEvCommandStatus, 0, mgmt::kReadInfo, mgmt::kStatusBusy)}, EBUSY},
        {"not powered",
         {Reply(mgmt::kEvCommandStatus, 0, mgmt::kReadInfo, mgmt::kStatusNotPowered)},
         ENETDOWN},
        {"not supported",
         {Reply(mgmt::kEvCommandStatus, 0, mgmt::kReadInfo, mgmt::kStatusNotSupported)},
         EOPNOTSUPP},
        {"unknown status", {Reply(mgmt::kEvCommandComplete, 0, mgmt::kReadInfo, 0x7F, Info(0, "x"))}, EIO},
        {"short information", {Complete(mgmt::kReadInfo, shortInfo)}, EBADMSG},
        {"length not as in the header", {lengthMismatch}, EBADMSG},
        {"truncated header", {Bytes{0x01, 0x00, 0x00}}, EBADMSG},
        {"reply without a status",
         {qm::bt::MgmtPacket(mgmt::kEvCommandComplete, 0, Bytes{0x04, 0x00})},
         EBADMSG},
        {"command status with return parameters",
         {Reply(mgmt::kEvCommandStatus, 0, mgmt::kReadInfo, 0, Bytes{1})},
         EBADMSG},
    };
    for (const auto& c : cases) {
        TLocalRadio radio;
        EXPECT_EQ(ReadScripted(c.script, radio), c.result) << c.what;
    }
}

TEST(ManagementChannel, MalformedListsAndSettingsAreErrors) {
    struct TCase {
        const char* what;
        Bytes reply;
        std::function<int(TLocalRadios&)> call;
    };
    const auto list = [](TLocalRadios& r) {
        std::vector<TLocalRadio> radios;
        return r.List(radios);
    };
    const auto power = [](TLocalRadios& r) { return r.SetPowered(0, true); };
    const std::vector<TCase> cases{
        {"count beyond the list", Complete(mgmt::kReadIndexList, {2, 0, 0, 0}, mgmt::kNoIndex), list},
        {"odd list", Complete(mgmt::kReadIndexList, {1, 0, 0, 0, 0}, mgmt::kNoIndex), list},
        {"no count", Complete(mgmt::kReadIndexList, {}, mgmt::kNoIndex), list},
        {"settings cut short", Complete(mgmt::kSetPowered, {0x03, 0}), power},
    };
    for (const auto& c : cases) {
        TScriptedChannel channel({c.reply});
        EXPECT_EQ(c.call(*qm::bt::MakeManagementRadios(channel, 100, nullptr)), EBADMSG) << c.what;
    }
}

TEST(ManagementChannel, ClosedChannelIsAnError) {
    TScriptedChannel channel({}, 0, true);
    EXPECT_EQ(qm::bt::MakeManagementRadios(channel, 100, nullptr)->SetConnectable(0, true), ECONNRESET);
}

// Records which of its operations were asked for.
class TRecordingRadios : public TLocalRadios {
public:
    int List(std::vector<TLocalRadio>&) override { return Called("List"); }
    int Read(std::uint16_t, TLocalRadio&) override { return Called("Read"); }
    int SetPowered(std::uint16_t, bool) override { return Called("SetPowered"); }
    int SetConnectable(std::uint16_t, bool) override { return Called("SetConnectable"); }
    int SetDiscoverable(std::uint16_t, bool) override { return Called("SetDiscoverable"); }

    std::string* calls = nullptr;

private:
    int Called(const std::string& what) {
        *calls += what + " ";
        return 0;
    }
};

// Only a kernel without the management channel leads to the fallback; a channel that refuses this
// process is an error of its own.
TEST(ManagementChannel, FallbackOnlyWithoutTheChannel) {
    struct TCase {
        int openError;
        int result;
        const char* calls;
    };
    const std::vector<TCase> cases{
        {EAFNOSUPPORT, 0, "List SetPowered "},
        {EPROTONOSUPPORT, 0, "List SetPowered "},
        {EINVAL, 0, "List SetPowered "},
        {EPERM, EPERM, ""},
        {EACCES, EACCES, ""},
    };
    for (const auto& c : cases) {
        std::string calls;
        auto fallback = std::make_unique<TRecordingRadios>();
        fallback->calls = &calls;
        TScriptedChannel channel({}, c.openError);
        const auto radios = qm::bt::MakeManagementRadios(channel, 100, std::move(fallback));
        std::vector<TLocalRadio> list;
        EXPECT_EQ(radios->List(list), c.result) << c.openError;
        EXPECT_EQ(radios->SetPowered(0, true), c.result) << c.openError;
        EXPECT_EQ(calls, c.calls) << c.openError;
    }
}

}  // namespace
