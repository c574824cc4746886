// The LE scan as a sighting stream: on the emulated radio with legacy and extended controllers,
// its refusals through scripted controllers, and its turns with the inquiry on a controller that
// cannot run both at once.

#include <gtest/gtest.h>
#include <sys/socket.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "quillmark/bluetooth/platform/HciInquiry.h"
#include "quillmark/bluetooth/platform/HciLeScan.h"
#include "quillmark/bluetooth/platform/PacketIo.h"
#include "quillmark/bluetooth/platform/ProtocolPlatform.h"
#include "quillmark/bluetooth/platform/RadioTurns.h"
#include "quillmark/bluetooth/platform/emulated/EmulatedRadio.h"
#include "quillmark/bluetooth/platform/emulated/ScenarioJson.h"

namespace {

using qm::TSighting;
using qm::TStreamCode;
using Sightings = std::vector<TSighting>;

// What the stream yields over a while, by address.
std::map<std::string, Sightings> ReadFor(qm::ISightingStream& stream, int milliseconds) {
    std::map<std::string, Sightings> byAddress;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        Sightings sightings;
        EXPECT_EQ(stream.Read(sightings, 100).code, TStreamCode::Ok);
        for (TSighting& s : sightings) byAddress[s.address].push_back(std::move(s));
    }
    return byAddress;
}

std::string ExtendedAdvertiser() {
    std::string data;
    for (int i = 0; i < 247; ++i) data += "AB ";
    return R"({"address": "00:11:22:00:00:03", "classic": false, "signal": -80,
               "le": {"extended": true, "eventType": "non-connectable", "intervalMs": 100,
                      "advertising": {"manufacturer": {"company": 1, "hex": ")" +
           data + R"("}}}})";
}

std::string Scenario(bool extended) {
    return std::string(R"({"controller": {"leExtended": )") + (extended ? "true" : "false") + R"(}, "devices": [
        {"address": "00:11:22:00:00:01", "classic": false, "signal": -60,
         "le": {"intervalMs": 100, "advertising": {"flags": 6, "name": "Tag"}, "scanResponse": {"name": "Tag answer"}}},
        {"address": "C0:11:22:00:00:02", "classic": false, "signal": -70,
         "le": {"addressType": "random-static", "eventType": "non-connectable", "intervalMs": 100,
                "advertising": {"hex": "02 01 06"}}},
        )" + ExtendedAdvertiser() + "]}";
}

// Both kinds of controller: the advertisers with their names, signals and address types, scan
// responses marked, each sighting stamped by the clock; the extended controller also hears the
// extended advertiser, its two fragments joined into one sighting.
TEST(HciLeScan, YieldsEveryAdvertiserOnLegacyAndExtendedControllers) {
    for (const bool extended : {false, true}) {
        SCOPED_TRACE(extended ? "extended" : "legacy");
        qm::bt::emu::TEmulatedRadio radio(qm::bt::emu::ParseScenario(Scenario(extended)));
        qm::TSettableClock clock(1700000000);
        qm::bt::THciLeScan scan(radio, clock);
        ASSERT_EQ(scan.Start().code, TStreamCode::Ok);
        auto heard = ReadFor(scan, 700);

        const Sightings& tag = heard["(00:11:22:00:00:01)"];
        ASSERT_FALSE(tag.empty());
        bool advertised = false, answered = false;
        for (const TSighting& s : tag) {
            EXPECT_EQ(s.transport, qm::TTransport::LowEnergy);
            EXPECT_EQ(s.addressType, qm::TAddressType::Public);
            EXPECT_EQ(s.rssi, std::optional<std::int8_t>(-60));
            EXPECT_EQ(s.receivedMs, 1700000000000);
            EXPECT_FALSE(s.eir.empty());
            EXPECT_EQ(s.name, s.scanResponse ? "Tag answer" : "Tag");
            (s.scanResponse ? answered : advertised) = true;
        }
        EXPECT_TRUE(advertised);
        EXPECT_TRUE(answered);

        const Sightings& random = heard["(C0:11:22:00:00:02)"];
        ASSERT_FALSE(random.empty());
        EXPECT_EQ(random[0].addressType, qm::TAddressType::Random);
        EXPECT_EQ(random[0].eir, std::string("\x02\x01\x06"));
        EXPECT_TRUE(random[0].name.empty());
        for (const TSighting& s : random) EXPECT_FALSE(s.scanResponse) << "a non-connectable advertiser";

        const Sightings& fragmented = heard["(00:11:22:00:00:03)"];
        if (!extended) {
            EXPECT_TRUE(fragmented.empty()) << "legacy scanning hears no extended advertiser";
            continue;
        }
        ASSERT_FALSE(fragmented.empty());
        for (const TSighting& s : fragmented) EXPECT_EQ(s.eir.size(), 251u) << "both fragments in one";
    }
}

// Stopping disables scanning: a controller that cannot run both takes an inquiry again, and the
// stream yields no more.
TEST(HciLeScan, StopDisablesScanning) {
    qm::bt::emu::TEmulatedRadio radio(qm::bt::emu::ParseScenario(R"({"controller": {"leDuringInquiry": false},
        "devices": [{"address": "00:11:22:00:00:01", "le": {"intervalMs": 50, "advertising": {"flags": 6}}}]})"));
    int error = 0;
    const qm::bt::TUniqueFd other = radio.OpenController(error);
    qm::bt::THciInquiry inquiry(other.Get(), {});
    std::vector<qm::bt::THciInquiryEntry> entries;
    {
        qm::bt::THciLeScan scan(radio, qm::SystemClock());
        ASSERT_EQ(scan.Start().code, TStreamCode::Ok);
        EXPECT_FALSE(ReadFor(scan, 200).empty());
        EXPECT_EQ(inquiry.Run(entries), EBUSY) << "refused while scanning";
        scan.Stop();
        EXPECT_EQ(inquiry.Run(entries), 0);
        Sightings after;
        EXPECT_EQ(scan.Read(after, 100).code, TStreamCode::Failed);
        EXPECT_TRUE(after.empty());
        ASSERT_EQ(scan.Start().code, TStreamCode::Ok);
        EXPECT_EQ(inquiry.Run(entries), EBUSY);
    }
    EXPECT_EQ(inquiry.Run(entries), 0) << "the destructor disabled scanning";
}

// A controller whose answers are queued before the stream starts, or whose socket cannot be had.
class TScriptedController : public qm::bt::TSocketFactory {
public:
    TScriptedController(std::vector<std::vector<std::uint8_t>> events, int openError)
        : events_(std::move(events)), openError_(openError) {}

    qm::bt::TUniqueFd OpenController(int& error) override {
        if (openError_) return Fail(error, openError_);
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) return Fail(error, errno);
        peer_.Reset(ends[1]);
        for (const auto& event : events_)
            EXPECT_EQ(::send(ends[1], event.data(), event.size(), 0), static_cast<ssize_t>(event.size()));
        return qm::bt::TUniqueFd(ends[0]);
    }
    qm::bt::TUniqueFd ConnectSdp(const qm::bt::TBdAddr&, int, int& error) override { return Fail(error, ENODEV); }

private:
    static qm::bt::TUniqueFd Fail(int& error, int number) {
        error = number;
        return qm::bt::TUniqueFd();
    }

    std::vector<std::vector<std::uint8_t>> events_;
    int openError_;
    qm::bt::TUniqueFd peer_;
};

// The kernel's refusal without the privilege, a controller without LE, and failing answers.
TEST(HciLeScan, StartRefusals) {
    const std::vector<std::uint8_t> maskSet{0x04, 0x0E, 0x04, 0x01, 0x01, 0x20, 0x00};
    struct TCase {
        const char* what;
        int openError;
        std::vector<std::vector<std::uint8_t>> events;
        TStreamCode code;
        int systemError;
    };
    const std::vector<TCase> cases{
        {"no privilege", EPERM, {}, TStreamCode::NotPermitted, EPERM},
        {"no access", EACCES, {}, TStreamCode::NotPermitted, EACCES},
        {"no adapter", ENODEV, {}, TStreamCode::Failed, ENODEV},
        {"event mask unknown", 0, {{0x04, 0x0F, 0x04, 0x01, 0x01, 0x01, 0x20}}, TStreamCode::Unsupported, 0},
        {"features unknown",
         0,
         {maskSet, {0x04, 0x0F, 0x04, 0x01, 0x01, 0x03, 0x20}},
         TStreamCode::Unsupported,
         0},
        {"features failing", 0, {maskSet, {0x04, 0x0E, 0x04, 0x01, 0x03, 0x20, 0x1F}}, TStreamCode::Failed, EIO},
        {"silence", 0, {}, TStreamCode::Failed, ETIMEDOUT},
    };
    qm::bt::TProtocolLimits limits;
    limits.commandStatusMs = 200;
    for (const TCase& c : cases) {
        TScriptedController controller(c.events, c.openError);
        qm::bt::THciLeScan scan(controller, qm::SystemClock(), nullptr, limits);
        const qm::TStreamStatus status = scan.Start();
        EXPECT_EQ(status.code, c.code) << c.what;
        EXPECT_EQ(status.systemError, c.systemError) << c.what;
    }
}

// A controller that cannot run both: the first inquiry is refused while the LE scan runs, the two
// take turns from then on, the inquiry tried again finds its device, and LE sightings resume
// after it; the next inquiry is not refused at all.
TEST(HciLeScan, TakesTurnsWithTheInquiry) {
    qm::bt::emu::TEmulatedRadio radio(qm::bt::emu::ParseScenario(R"({"controller": {"leDuringInquiry": false,
        "inquiryMs": 300}, "devices": [
        {"address": "00:11:22:00:00:01", "classic": false, "le": {"intervalMs": 50, "advertising": {"flags": 6}}},
        {"address": "00:11:22:00:00:02", "name": "Phone"}]})"));
    qm::bt::TRadioTurns turns;
    qm::bt::THciLeScan scan(radio, qm::SystemClock(), &turns);
    qm::bt::TProtocolPlatform platform(radio, {}, qm::SystemClock(), &turns);
    ASSERT_EQ(scan.Start().code, TStreamCode::Ok);

    std::atomic<bool> done{false};
    std::atomic<int> heard{0};
    std::thread reader([&] {
        while (!done) {
            Sightings sightings;
            if (scan.Read(sightings, 50).code != TStreamCode::Ok) return;
            heard += static_cast<int>(sightings.size());
        }
    });
    const auto waitHeard = [&] {
        const int before = heard;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (heard == before && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return heard > before;
    };
    EXPECT_TRUE(waitHeard());
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        std::unique_ptr<qm::bt::TInquiryLookup> lookup;
        ASSERT_EQ(platform.BeginInquiry(lookup).code, qm::bt::TLookupCode::Ok);
        TSighting sighting;
        ASSERT_EQ(lookup->Next(sighting).code, qm::bt::TLookupCode::Ok);
        EXPECT_EQ(sighting.address, "(00:11:22:00:00:02)");
        EXPECT_TRUE(turns.TakingTurns());
        EXPECT_TRUE(waitHeard()) << "LE sightings resume after the inquiry";
    }
    done = true;
    reader.join();
}

}  // namespace
