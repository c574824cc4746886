#include "quillmark/bluetooth/capture/CaptureImport.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <limits>
#include <vector>

#include "quillmark/base/Error.h"
#include "quillmark/base/SystemErrorText.h"
#include "quillmark/bluetooth/capture/BtsnoopReader.h"
#include "quillmark/bluetooth/platform/HciPackets.h"
#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/DeviceSighting.h"
#include "quillmark/core/SessionLog.h"
#include "quillmark/core/Utf8.h"

namespace qm::bt {

namespace {

// Capture times outside the inventory's 32-bit seconds are held at its limits.
std::int32_t InventoryTime(std::int64_t unixSeconds) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        unixSeconds, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Holds the device list's lock for the whole import, so the inventory is never seen half imported.
class TImporter {
public:
    explicit TImporter(TSessionState& session)
        : FSession(session),
          FLock(session.DeviceList()),
          FSeenAgain(static_cast<std::size_t>(FLock->Count())) {}
    ~TImporter() { FLock->NotifyChanged(); }
    TImporter(const TImporter&) = delete;
    TImporter& operator=(const TImporter&) = delete;

    void Take(const THciEvent& event, std::int32_t time);
    TCaptureImport& Result() { return FResult; }

private:
    void Sighted(const TSighting& sighting, std::int32_t time);
    void Named(const THciRemoteNameComplete& complete, std::int32_t time);
    void Counted(const TSightingOutcome& outcome);

    TSessionState& FSession;
    TDeviceListLock FLock;
    TSettableClock FClock;
    TCaptureImport FResult;
    // Of the devices the session held before, by index: whether the capture saw them.
    std::vector<bool> FSeenAgain;
};

void TImporter::Take(const THciEvent& event, std::int32_t time) {
    if (const auto* results = std::get_if<THciInquiryResults>(&event)) {
        for (const THciInquiryEntry& entry : results->entries) {
            TSighting sighting;
            sighting.address = BTAddressToString(entry.address);
            sighting.name = ValidUtf8(entry.name.value_or(std::string()));
            sighting.classOfDevice = entry.classOfDevice;
            Sighted(sighting, time);
        }
    } else if (const auto* complete = std::get_if<THciRemoteNameComplete>(&event)) {
        if (complete->status == 0) Named(*complete, time);
    }
}

// A record that existed before keeps the wider span of its times and the capture's.
void TImporter::Sighted(const TSighting& sighting, std::int32_t time) {
    const TBTDevice* known = FLock->FindDevice(sighting.address);
    const std::int32_t firstSeen = known ? std::min(known->FirstSeen(), time) : time;
    const std::int32_t lastSeen = known ? std::max(known->LastSeen(), time) : time;
    FClock.Set(time);
    const TSightingOutcome outcome = RecordSighting(*FLock, sighting, FSession.Location(), FClock);
    outcome.device->SetFirstSeen(firstSeen);
    outcome.device->SetLastSeen(lastSeen);
    ++FResult.sightings;
    Counted(outcome);
}

void TImporter::Named(const THciRemoteNameComplete& complete, std::int32_t time) {
    const std::string address = BTAddressToString(complete.address);
    TBTDevice* device = FLock->FindDevice(address);
    if (!device) {
        TSighting sighting;
        sighting.address = address;
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

TCaptureImport ImportBtsnoop(std::istream& capture, TSessionState& session) {
    std::string refusal;
    std::optional<TBtsnoopReader> reader = TBtsnoopReader::Open(capture, refusal);
    if (!reader) throw TError(refusal);
    TImporter importer(session);
    TCaptureEvent event;
    while (reader->NextEvent(event))
        if (const std::optional<THciEvent> parsed = ParseHciEvent(event.packet))
            importer.Take(*parsed, InventoryTime(event.unixSeconds));
    importer.Result().truncated = reader->Truncated();
    return importer.Result();
}

TCaptureImport ImportBtsnoopFile(const std::string& file, TSessionState& session) {
    std::ifstream capture(file, std::ios::binary);
    if (!capture) throw TError("Unable to read " + file + ": " + SystemErrorText(errno));
    TCaptureImport result;
    try {
        result = ImportBtsnoop(capture, session);
    } catch (const TError& refusal) {
        throw TError(file + ": " + refusal.Message());
    }
    AddSessionLogLine(session, "Imported " + std::to_string(result.newDevices) + " devices from " + file);
    return result;
}

}  // namespace qm::bt
