// Importing btsnoop captures into a session: the three datalink types, the three inquiry result
// formats and remote names, devices already known, and damaged or foreign files.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <sstream>
#include <string>

#include "quillmark/base/Error.h"
#include "quillmark/bluetooth/capture/BtsnoopReader.h"
#include "quillmark/bluetooth/capture/CaptureImport.h"
#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/SightingSink.h"
#include "support/BtsnoopCapture.h"
#include "testsupport/ScopedTempDir.h"

namespace {

using qm::bt::TBdAddr;
using qmtest::BtsnoopCapture;
using qmtest::CaptureTime;

const TBdAddr kAlice{{0x00, 0x11, 0x22, 0xAA, 0xBB, 0x01}};
const TBdAddr kBob{{0x00, 0x11, 0x22, 0xAA, 0xBB, 0x02}};
const TBdAddr kCarol{{0xF4, 0xBD, 0x9E, 0x00, 0x00, 0x03}};
const TBdAddr kDave{{0x00, 0x11, 0x22, 0xAA, 0xBB, 0x04}};
constexpr std::uint32_t kPhoneClass = 0x5A020C;    // smart phone
constexpr std::uint32_t kHeadsetClass = 0x240404;  // audio, headset
constexpr std::int64_t kStart = 1700000000;

class CaptureImport : public ::testing::Test {
protected:
    void SetUp() override { session_.SetCurrentLocation("Lab"); }

    qm::bt::TCaptureImport Import(const std::string& bytes) {
        std::istringstream capture(bytes);
        return qm::bt::ImportBtsnoop(capture, session_);
    }
    // The record of an address, or nullptr.
    const qm::TBTDevice* Device(const TBdAddr& address) {
        qm::TDeviceListLock lock(session_.DeviceList());
        return lock->FindDevice(qm::bt::BTAddressToString(address));
    }
    int Count() {
        qm::TDeviceListLock lock(session_.DeviceList());
        return lock->Count();
    }

    qm::TSettableClock clock_{1800000000};
    qm::TSessionState session_{clock_};
};

// A packet as an H4 transport frames it: its packet type byte, then the packet.
qmtest::Bytes WithPacketType(std::uint8_t type, const qmtest::Bytes& packet) {
    qmtest::Bytes framed;
    framed.reserve(packet.size() + 1);
    framed.push_back(type);
    framed.insert(framed.end(), packet.begin(), packet.end());
    return framed;
}

// Two inquiries as a controller reports them: the three result formats, a device reported twice
// in one inquiry, names asked for, a failed name request, the host's own command (which looks
// like an inquiry result and is no event), and a device heard again in the second inquiry.
BtsnoopCapture Inquiry(std::uint32_t datalink) {
    BtsnoopCapture capture(datalink);
    capture.Command(qmtest::InquiryResultEvent(kDave, kPhoneClass), CaptureTime(kStart))
        .Event(qmtest::InquiryStartedEvent(), CaptureTime(kStart))
        .Event(qmtest::InquiryResultEvent(kAlice, kPhoneClass), CaptureTime(kStart, 250000))
        .Event(qmtest::InquiryResultRssiEvent(kBob, kHeadsetClass), CaptureTime(kStart + 1))
        .Event(qmtest::ExtendedInquiryResultEvent(kCarol, kHeadsetClass, "Carol's headset"),
               CaptureTime(kStart + 2))
        .Event(qmtest::ExtendedInquiryResultEvent(kCarol, kHeadsetClass, "Carol's headset"),
               CaptureTime(kStart + 2, 500000))
        .Event(qmtest::InquiryCompleteEvent(), CaptureTime(kStart + 3))
        .Event(qmtest::RemoteNameCompleteEvent(0, kAlice, "Alice \xFF phone"), CaptureTime(kStart + 3))
        .Event(qmtest::RemoteNameCompleteEvent(0x04, kBob, "Not Bob"), CaptureTime(kStart + 4))
        .Event(qmtest::InquiryStartedEvent(), CaptureTime(kStart + 50))
        .Event(qmtest::ExtendedInquiryResultEvent(kCarol, kHeadsetClass, "Carol 2"),
               CaptureTime(kStart + 60));
    return capture;
}

class EveryDatalink : public CaptureImport, public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(EveryDatalink, RecordsEachDeviceAsASightingAtTheCaptureTime) {
    const auto result = Import(Inquiry(GetParam()).Text());
    EXPECT_EQ(result.newDevices, 3);
    EXPECT_EQ(result.updatedDevices, 0);
    EXPECT_EQ(result.sightings, 4);  // Carol once in each inquiry
    EXPECT_FALSE(result.truncated);
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ(Device(kDave), nullptr);

    const qm::TBTDevice* alice = Device(kAlice);
    ASSERT_NE(alice, nullptr);
    EXPECT_EQ(alice->Name(), "Alice \xEF\xBF\xBD phone");
    EXPECT_EQ(alice->MajorClass(), 2);
    EXPECT_EQ(alice->MinorClass(), 3);
    EXPECT_EQ(alice->FirstSeen(), kStart);
    EXPECT_EQ(alice->LastSeen(), kStart + 3);
    EXPECT_EQ(alice->SeenCount(), 1);
    EXPECT_EQ(alice->Location(), "Lab");

    const qm::TBTDevice* bob = Device(kBob);
    ASSERT_NE(bob, nullptr);
    EXPECT_EQ(bob->Name(), "Unknown");
    EXPECT_EQ(bob->Type(), qm::dtAudio);
    EXPECT_EQ(bob->FirstSeen(), kStart + 1);
    EXPECT_EQ(bob->LastSeen(), kStart + 1);

    const qm::TBTDevice* carol = Device(kCarol);
    ASSERT_NE(carol, nullptr);
    EXPECT_EQ(carol->Name(), "Carol 2");
    EXPECT_EQ(carol->FirstSeen(), kStart + 2);
    EXPECT_EQ(carol->LastSeen(), kStart + 60);
    EXPECT_EQ(carol->SeenCount(), 2);
    EXPECT_TRUE(session_.Log().empty());
}

INSTANTIATE_TEST_SUITE_P(Datalinks, EveryDatalink,
                         ::testing::Values(qm::bt::kBtsnoopHci, qm::bt::kBtsnoopUart,
                                           qm::bt::kBtsnoopMonitor));

TEST_F(CaptureImport, MonitorEventsOfEveryControllerIndexButNoOtherOpcode) {
    BtsnoopCapture capture(qm::bt::kBtsnoopMonitor);
    capture.Record(0x00010003, qmtest::InquiryResultEvent(kAlice, kPhoneClass), CaptureTime(kStart), 0)
        .Record(0x00000005, qmtest::InquiryResultEvent(kBob, kPhoneClass), CaptureTime(kStart), 0)
        .Record(0x00000013, qmtest::InquiryResultEvent(kCarol, kPhoneClass), CaptureTime(kStart), 0);
    EXPECT_EQ(Import(capture.Text()).newDevices, 1);
    EXPECT_NE(Device(kAlice), nullptr);
}

TEST_F(CaptureImport, DirectionAndPacketTypeDecideWhatIsAnEvent) {
    const qmtest::Bytes event = qmtest::InquiryResultEvent(kAlice, kPhoneClass);
    const qmtest::Bytes typed = WithPacketType(0x04, event);
    const qmtest::Bytes acl = WithPacketType(0x02, event);
    BtsnoopCapture hci(qm::bt::kBtsnoopHci);
    hci.Record(0x02, event, CaptureTime(kStart), 0).Record(0x01, event, CaptureTime(kStart), 0);
    BtsnoopCapture uart(qm::bt::kBtsnoopUart);
    uart.Record(0x02, typed, CaptureTime(kStart), 0).Record(0x01, acl, CaptureTime(kStart), 0);
    for (const BtsnoopCapture* capture : {&hci, &uart}) EXPECT_EQ(Import(capture->Text()).newDevices, 0);
    EXPECT_EQ(Count(), 0);
}

TEST_F(CaptureImport, KnownDeviceKeepsTheWidestSpanAndIsCountedOnce) {
    {
        qm::TDeviceListLock lock(session_.DeviceList());
        qm::TBTDevice& known = lock->Add();
        known.SetAddress(qm::bt::BTAddressToString(kAlice));
        known.SetName("Alice");
        known.SetFirstSeen(kStart + 10);
        known.SetLastSeen(kStart + 20);
        known.SetSeenCount(5);
        known.SetLocation("Office");
    }
    BtsnoopCapture capture(qm::bt::kBtsnoopHci);
    capture.Event(qmtest::InquiryResultEvent(kAlice, kPhoneClass), CaptureTime(kStart))
        .Event(qmtest::InquiryCompleteEvent(), CaptureTime(kStart + 10))
        .Event(qmtest::InquiryResultRssiEvent(kAlice, kPhoneClass), CaptureTime(kStart + 15))
        .Event(qmtest::RemoteNameCompleteEvent(0, kAlice, ""), CaptureTime(kStart + 30));
    const auto result = Import(capture.Text());
    EXPECT_EQ(result.newDevices, 0);
    EXPECT_EQ(result.updatedDevices, 1);
    const qm::TBTDevice* alice = Device(kAlice);
    EXPECT_EQ(alice->Name(), "Alice");
    EXPECT_EQ(alice->FirstSeen(), kStart);
    EXPECT_EQ(alice->LastSeen(), kStart + 30);
    EXPECT_EQ(alice->SeenCount(), 7);
    EXPECT_EQ(alice->Location(), "Lab");
    EXPECT_EQ(alice->Type(), qm::dtPhone);
}

class TCollectingSink : public qm::ISightingSink {
public:
    void SightingsRecorded(std::vector<qm::TRecordedSighting> batch) override { batches.push_back(std::move(batch)); }
    std::vector<std::vector<qm::TRecordedSighting>> batches;
};

// The history gets what the inventory counted, once per device per inquiry, at the capture's
// times in milliseconds, with the signal and the response data, as one batch.
TEST_F(CaptureImport, SightingsGoToTheSinkAtTheCaptureTimes) {
    TCollectingSink sink;
    std::istringstream capture(Inquiry(qm::bt::kBtsnoopHci).Text());
    qm::bt::ImportBtsnoop(capture, session_, &sink);
    ASSERT_EQ(sink.batches.size(), 1u);
    const auto& batch = sink.batches[0];
    struct TExpected {
        TBdAddr address;
        std::int64_t ms;
        std::optional<std::int8_t> rssi;
        bool eir;
    };
    const std::vector<TExpected> expected{{kAlice, kStart * 1000 + 250, std::nullopt, false},
                                          {kBob, (kStart + 1) * 1000, -60, false},
                                          {kCarol, (kStart + 2) * 1000, -60, true},
                                          {kCarol, (kStart + 60) * 1000, -60, true}};
    ASSERT_EQ(batch.size(), expected.size());
    for (std::size_t i = 0; i < batch.size(); ++i) {
        EXPECT_EQ(batch[i].sighting.address, qm::bt::BTAddressToString(expected[i].address)) << i;
        EXPECT_EQ(batch[i].sighting.receivedMs, expected[i].ms) << i;
        EXPECT_EQ(batch[i].sighting.rssi, expected[i].rssi) << i;
        EXPECT_EQ(!batch[i].sighting.eir.empty(), expected[i].eir) << i;
        EXPECT_EQ(batch[i].location, "Lab") << i;
    }
    EXPECT_EQ(Device(kCarol)->Signal(), std::optional<std::int8_t>(-60));
}

TEST_F(CaptureImport, DeviceHeardOnlyByItsNameIsSightedOnce) {
    BtsnoopCapture capture(qm::bt::kBtsnoopUart);
    capture.Event(qmtest::RemoteNameCompleteEvent(0, kBob, "Bob"), CaptureTime(kStart));
    const auto result = Import(capture.Text());
    EXPECT_EQ(result.newDevices, 1);
    const qm::TBTDevice* bob = Device(kBob);
    ASSERT_NE(bob, nullptr);
    EXPECT_EQ(bob->Name(), "Bob");
    EXPECT_EQ(bob->SeenCount(), 1);
    EXPECT_EQ(bob->MajorClass(), 0);
}

// Records the reader or the parser cannot take are passed over; the import goes on after them.
TEST_F(CaptureImport, MalformedRecordsArePassedOver) {
    qmtest::Bytes twoClaimedOneGiven = qmtest::InquiryResultEvent(kBob, kPhoneClass);
    twoClaimedOneGiven[2] = 2;
    qmtest::Bytes longerThanAnEvent(300, 0x02);
    BtsnoopCapture capture(qm::bt::kBtsnoopHci);
    capture.Record(0x03, qmtest::InquiryResultEvent(kCarol, kPhoneClass), CaptureTime(kStart), 40)
        .Event(twoClaimedOneGiven, CaptureTime(kStart))
        .Event(longerThanAnEvent, CaptureTime(kStart))
        .Event({}, CaptureTime(kStart))
        .Event(qmtest::InquiryResultEvent(kAlice, kPhoneClass), CaptureTime(kStart));
    const auto result = Import(capture.Text());
    EXPECT_EQ(result.newDevices, 1);
    EXPECT_FALSE(result.truncated);
    EXPECT_NE(Device(kAlice), nullptr);
}

// Cut inside the last record's header, inside its data, or a record that claims more than follows.
TEST_F(CaptureImport, RecordCutShortEndsTheImportWithWhatWasRead) {
    const std::string whole = Inquiry(qm::bt::kBtsnoopHci).Text();
    std::string claimsTooMuch = Inquiry(qm::bt::kBtsnoopHci).Text();
    claimsTooMuch += std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\0\0\0\3", 12) + std::string(30, '\0');
    const qmtest::Bytes lastEvent = qmtest::ExtendedInquiryResultEvent(kCarol, kHeadsetClass, "Carol 2");
    for (const std::string& bytes : {whole.substr(0, whole.size() - lastEvent.size() - 10),
                                     whole.substr(0, whole.size() - 1), claimsTooMuch}) {
        qm::TSessionState session(clock_);
        std::istringstream capture(bytes);
        const auto result = qm::bt::ImportBtsnoop(capture, session);
        EXPECT_TRUE(result.truncated);
        EXPECT_EQ(result.newDevices, 3);
        qm::TDeviceListLock lock(session.DeviceList());
        EXPECT_EQ(lock->FindDevice(qm::bt::BTAddressToString(kCarol))->Name(),
                  bytes == claimsTooMuch ? "Carol 2" : "Carol's headset");
    }
}

TEST_F(CaptureImport, HeaderOnlyCaptureImportsNothing) {
    const auto result = Import(BtsnoopCapture(qm::bt::kBtsnoopMonitor).Text());
    EXPECT_EQ(result.newDevices + result.updatedDevices + result.sightings, 0);
    EXPECT_FALSE(result.truncated);
}

// Times before 1970 and beyond the inventory's 32-bit seconds are held at its limits; parts of a
// second are dropped.
TEST_F(CaptureImport, CaptureTimesInTheInventoryRange) {
    BtsnoopCapture capture(qm::bt::kBtsnoopHci);
    capture.Event(qmtest::InquiryResultEvent(kAlice, kPhoneClass), 0)
        .Event(qmtest::InquiryResultEvent(kBob, kPhoneClass), std::numeric_limits<std::int64_t>::max())
        .Event(qmtest::InquiryResultEvent(kCarol, kPhoneClass), CaptureTime(-1, 500000))
        .Event(qmtest::InquiryResultEvent(kDave, kPhoneClass), std::numeric_limits<std::int64_t>::min());
    Import(capture.Text());
    EXPECT_EQ(Device(kAlice)->FirstSeen(), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(Device(kBob)->FirstSeen(), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(Device(kCarol)->FirstSeen(), -1);
    EXPECT_EQ(Device(kDave)->FirstSeen(), std::numeric_limits<std::int32_t>::min());
}

struct RefusedCase {
    const char* label;
    std::string bytes;
    const char* message;
    friend std::ostream& operator<<(std::ostream& out, const RefusedCase& c) { return out << c.label; }
};

std::string Header(std::uint32_t version, std::uint32_t datalink) {
    std::string header("btsnoop", 8);
    for (std::uint32_t value : {version, datalink})
        for (int shift = 24; shift >= 0; shift -= 8) header += static_cast<char>(value >> shift);
    return header;
}

class Refused : public CaptureImport, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(Refused, WithAClearMessageAndNothingImported) {
    try {
        Import(GetParam().bytes);
        ADD_FAILURE() << "no refusal";
    } catch (const qm::TError& error) {
        EXPECT_EQ(error.Message(), GetParam().message);
    }
    EXPECT_EQ(Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Refused,
    ::testing::Values(
        RefusedCase{"empty", "", "not a btsnoop capture (no btsnoop header)"},
        RefusedCase{"text", "Registry,Assignment\r\nMA-L,001122,x,y\r\n",
                    "not a btsnoop capture (no btsnoop header)"},
        RefusedCase{"short_header", Header(1, 1001).substr(0, 15),
                    "not a btsnoop capture (no btsnoop header)"},
        RefusedCase{"version_2", Header(2, 1001), "btsnoop version 2 is not supported (only version 1)"},
        RefusedCase{"bcsp", Header(1, 1003),
                    "btsnoop datalink type 1003 is not supported (only 1001 HCI, 1002 HCI UART and "
                    "2001 btmon)"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(CaptureImport, FileImportLogsTheNewDevicesAndNamesTheFileItRefuses) {
    testsupport::ScopedTempDir dir;
    const std::string file = dir.write("inquiry.btsnoop", Inquiry(qm::bt::kBtsnoopUart).Text()).string();
    qm::bt::ImportBtsnoopFile(file, session_);
    ASSERT_EQ(session_.Log().size(), 1u);
    EXPECT_THAT(session_.Log().front(), ::testing::EndsWith(": Imported 3 devices from " + file));
    EXPECT_THROW(qm::bt::ImportBtsnoopFile((dir / "none").string(), session_), qm::TError);
    const std::string text = dir.write("notes.txt", "notes").string();
    try {
        qm::bt::ImportBtsnoopFile(text, session_);
        ADD_FAILURE() << "no refusal";
    } catch (const qm::TError& error) {
        EXPECT_EQ(error.Message(), text + ": not a btsnoop capture (no btsnoop header)");
    }
    EXPECT_EQ(session_.Log().size(), 1u);
}

}  // namespace
