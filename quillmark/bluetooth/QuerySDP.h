#pragma once
// Asks one device, named by its address text, for all its SDP service records and stores them in
// its record of the device list, replacing what was there.

#include <string>

#include "quillmark/bluetooth/platform/BluetoothPlatform.h"
#include "quillmark/core/SessionState.h"

namespace qm {

// A device that offers no record keeps its earlier records. Otherwise the records are emptied
// and then appended one by one, each followed by NotifyChanged. Throws TError: "Unable to fetch
// service information.\n\nError: " and the system error text when the query fails, "Unable to
// find device to record SDP results: " and the address when the device has left the list; the
// records appended before stay.
void QuerySDP(bt::TBluetoothPlatform& platform, TSessionState& session, const std::string& address);

}  // namespace qm
