// Hostile btsnoop captures: the import must refuse or read every input without reading out of
// bounds or keeping more than one event's bytes, and what it records must stay consistent.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "quillmark/base/Error.h"
#include "quillmark/bluetooth/capture/BtsnoopReader.h"
#include "quillmark/bluetooth/capture/CaptureImport.h"
#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/Utf8.h"

namespace {

// The reader alone: every event it hands over fits one HCI event behind its packet type.
void ReadEvents(const std::string& bytes) {
    std::istringstream in(bytes);
    std::string refusal;
    auto reader = qm::bt::TBtsnoopReader::Open(in, refusal);
    if (!reader) {
        if (refusal.empty()) std::abort();
        return;
    }
    qm::bt::TCaptureEvent event;
    while (reader->NextEvent(event))
        if (event.packet.size() > 1 + 2 + 255 || event.packet.empty() || event.packet[0] != 0x04)
            std::abort();
}

// The whole import: each device is new or was sighted, and its name is valid UTF-8.
void Import(const std::string& bytes) {
    qm::TSettableClock clock(1700000000);
    qm::TSessionState session(clock);
    std::istringstream in(bytes);
    qm::bt::TCaptureImport result;
    try {
        result = qm::bt::ImportBtsnoop(in, session);
    } catch (const qm::TError&) {
        return;
    }
    qm::TDeviceListLock lock(session.DeviceList());
    if (lock->Count() != result.newDevices || result.newDevices > result.sightings) std::abort();
    for (int i = 0; i < lock->Count(); ++i)
        if (qm::ValidUtf8(lock->Items(i).Name()) != lock->Items(i).Name()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    ReadEvents(bytes);
    Import(bytes);
    return 0;
}
