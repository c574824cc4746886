#include "quillmark/bluetooth/capture/CaptureImport.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <limits>
#include <set>
#include <vector>

#include "quillmark/base/Error.h"
#include "quillmark/base/SystemErrorText.h"
#include "quillmark/bluetooth/capture/BtsnoopReader.h"
#include "quillmark/bluetooth/platform/ClassicSighting.h"
#include "quillmark/bluetooth/platform/HciPackets.h"
#include "quillmark/bluetooth/platform/LeFragmentJoiner.h"
#include "quillmark/bluetooth/platform/LeSighting.h"
#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/SessionLog.h"
#include "quillmark/core/SightingRecorder.h"
#include "quillmark/core/Utf8.h"

namespace qm::bt {

namespace {

// Capture times outside the inventory's 32-bit seconds are held at its limits.
std::int32_t InventoryTime(std::int64_t unixSeconds) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        unixSeconds, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Holds the device list's lock for the whole import, so the inventory is never seen half imported.
// A device counts once per inquiry, as the live pass counts it: an inquiry ends with its Inquiry
// Complete event, and the next begins with the Command Status of its Inquiry command (or with the
// first result after a completion, when the capture holds no command status).
class TImporter {
public:
    TImporter(TSessionState& session, TSightingRecorder& recorder)
        : FSession(session),
          FRecorder(recorder),
          FLock(session.DeviceList()),
          FSeenAgain(static_cast<std::size_t>(FLock->Count())) {}
    ~TImporter() { FLock->NotifyChanged(); }
    TImporter(const TImporter&) = delete;
    TImporter& operator=(const TImporter&) = delete;

    void Take(const THciEvent& event, const TCaptureEvent& record);
    TCaptureImport& Result() { return FResult; }

private:
    void TakeLe(const THciLeAdvertisingReports& reports, const TCaptureEvent& record);
    void Sighted(const TSighting& sighting, std::int32_t time);
    void SightedAgain(TBTDevice& device, const TSighting& sighting, std::int32_t time);
    void Named(const THciRemoteNameComplete& complete, std::int64_t ms, std::int32_t time);
    void Counted(const TSightingOutcome& outcome);

    TSessionState& FSession;
    TSightingRecorder& FRecorder;
    TDeviceListLock FLock;
    TSettableClock FClock;
    TCaptureImport FResult;
    // Of the devices the session held before, by index: whether the capture saw them.
    std::vector<bool> FSeenAgain;
    // The devices the current inquiry has reported.
    std::set<std::string> FInInquiry;
    TLeFragmentJoiner FFragments;
};

void TImporter::Take(const THciEvent& event, const TCaptureEvent& record) {
    const std::int32_t time = InventoryTime(record.unixSeconds);
    if (const auto* results = std::get_if<THciInquiryResults>(&event)) {
        for (THciInquiryEntry entry : results->entries) {
            entry.receivedMs = record.unixMs;
            std::optional<std::string> name = std::move(entry.name);
            const TSighting sighting = ClassicSighting(std::move(entry), ValidUtf8(name.value_or(std::string())));
            TBTDevice* known = FLock->FindDevice(sighting.address);
            if (known && FInInquiry.contains(sighting.address))
                SightedAgain(*known, sighting, time);
            else
                Sighted(sighting, time);
        }
    } else if (const auto* reports = std::get_if<THciLeAdvertisingReports>(&event)) {
        TakeLe(*reports, record);
    } else if (const auto* complete = std::get_if<THciRemoteNameComplete>(&event)) {
        if (complete->status == 0) Named(*complete, record.unixMs, time);
    } else if (std::holds_alternative<THciInquiryComplete>(event)) {
        FInInquiry.clear();
    } else if (const auto* status = std::get_if<THciCommandStatus>(&event)) {
        if (status->opcode == hci::kInquiry) FInInquiry.clear();
    }
}

// Every LE report (a fragmented one once joined) is a sighting of its own at its capture time,
// decoded as the live scan decodes it.
void TImporter::TakeLe(const THciLeAdvertisingReports& reports, const TCaptureEvent& record) {
    std::vector<THciLeReport> complete;
    for (THciLeReport report : reports.reports) {
        report.receivedMs = record.unixMs;
        FFragments.Take(std::move(report), complete);
    }
    for (const THciLeReport& report : complete)
        if (const std::optional<TSighting> sighting = LeSighting(report))
            Sighted(*sighting, InventoryTime(record.unixSeconds));
}

// A record that existed before keeps the wider span of its times and the capture's.
void TImporter::Sighted(const TSighting& sighting, std::int32_t time) {
    const TBTDevice* known = FLock->FindDevice(sighting.address);
    const std::int32_t firstSeen = known ? std::min(known->FirstSeen(), time) : time;
    const std::int32_t lastSeen = known ? std::max(known->LastSeen(), time) : time;
    FClock.Set(time);
    const TSightingOutcome outcome = FRecorder.Record(*FLock, sighting, FSession.Location(), FClock);
    outcome.device->SetFirstSeen(firstSeen);
    outcome.device->SetLastSeen(lastSeen);
    FInInquiry.insert(sighting.address);
    ++FResult.sightings;
    Counted(outcome);
}

// A further result of the same inquiry brings what it carries, as the live inquiry merges it, and
// is not counted again.
void TImporter::SightedAgain(TBTDevice& device, const TSighting& sighting, std::int32_t time) {
    if (!sighting.name.empty()) device.SetName(sighting.name);
    if (sighting.classOfDevice) {
        device.SetMajorClass(MajorClassOf(*sighting.classOfDevice));
        device.SetMinorClass(MinorClassOf(*sighting.classOfDevice));
    }
    if (sighting.rssi) device.SetSignal(sighting.rssi);
    device.SetLastSeen(std::max(device.LastSeen(), time));
}

void TImporter::Named(const THciRemoteNameComplete& complete, std::int64_t ms, std::int32_t time) {
    const std::string address = BTAddressToString(complete.address);
    TBTDevice* device = FLock->FindDevice(address);
    if (!device) {
        TSighting sighting;
        sighting.address = address;
        sighting.receivedMs = ms;
        sighting.name = ValidUtf8(complete.name);
        Sighted(sighting, time);
        return;
    }
    if (!complete.name.empty()) device->SetName(ValidUtf8(complete.name));
    device->SetFirstSeen(std::min(device->FirstSeen(), time));
    device->SetLastSeen(std::max(device->LastSeen(), time));
    Counted({device});
}

// Records only grow while the import holds the lock, so the records it made follow those it found.
void TImporter::Counted(const TSightingOutcome& outcome) {
    const auto index = static_cast<std::size_t>(outcome.device->Index());
    if (outcome.isNew) {
        ++FResult.newDevices;
    } else if (index < FSeenAgain.size() && !FSeenAgain[index]) {
        FSeenAgain[index] = true;
        ++FResult.updatedDevices;
    }
}

}  // namespace

TCaptureImport ImportBtsnoop(std::istream& capture, TSessionState& session, ISightingSink* sink) {
    std::string refusal;
    std::optional<TBtsnoopReader> reader = TBtsnoopReader::Open(capture, refusal);
    if (!reader) throw TError(refusal);
    TSightingRecorder recorder(sink);
    TCaptureImport result;
    {
        TImporter importer(session, recorder);
        TCaptureEvent event;
        while (reader->NextEvent(event))
            if (const std::optional<THciEvent> parsed = ParseHciEvent(event.packet)) importer.Take(*parsed, event);
        importer.Result().truncated = reader->Truncated();
        result = importer.Result();
    }
    recorder.HandOver();
    return result;
}

TCaptureImport ImportBtsnoopFile(const std::string& file, TSessionState& session, ISightingSink* sink) {
    std::ifstream capture(file, std::ios::binary);
    if (!capture) throw TError("Unable to read " + file + ": " + SystemErrorText(errno));
    TCaptureImport result;
    try {
        result = ImportBtsnoop(capture, session, sink);
    } catch (const TError& refusal) {
        throw TError(file + ": " + refusal.Message());
    }
    AddSessionLogLine(session, "Imported " + std::to_string(result.newDevices) + " devices from " + file);
    return result;
}

}  // namespace qm::bt
