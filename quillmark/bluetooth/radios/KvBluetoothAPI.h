#pragma once
// The radio layer: one view of the computer's local Bluetooth radios, whichever stack drives them,
// through an enumeration shaped like the platform's radio API. Started with KvBTInitialize, which
// takes a snapshot of the radios, and ended with KvBTShutdown. Results are the kRadio* codes of
// RadioMap.h. Main thread only; nothing here raises an error to its caller.

#include <cstdint>

#include "quillmark/bluetooth/platform/LocalRadios.h"
#include "quillmark/bluetooth/platform/RadioSwitches.h"
#include "quillmark/bluetooth/radios/RadioMap.h"
#include "quillmark/bluetooth/radios/WindowsRadioApi.h"

namespace qm::bt {

// An enumeration in progress: the index of the next radio to hand out.
struct TRadioFind {
    std::size_t next = 1;
};

// The Linux parts the layer reaches besides the two Windows libraries: the kernel's controllers
// and the kill switches. Owned by the caller, who keeps them alive while the layer is used; null
// leaves that part out.
void KvBTUsePlatform(TLocalRadios* localRadios, TRadioSwitches* switches);

int KvBTInitialize();
int KvBTShutdown();
int KvBTFindFirstRadio(TRadioFind*& find, std::uint64_t& address);
int KvBTFindNextRadio(TRadioFind* find, std::uint64_t& address);
int KvBTFindRadioClose(TRadioFind* find);
// info.dwSize must be set to 520. On a result other than 0 the record may be partly written.
int KvBTGetRadioInfo(BLUETOOTH_RADIO_INFO& info, std::uint64_t address);
// Address 0: whether any radio is.
bool KvBTIsDiscoverable(std::uint64_t address);
bool KvBTIsConnectable(std::uint64_t address);

// The map of the running layer, or null when it is not started.
TRadioMap* KvBTRadioMap();

}  // namespace qm::bt
