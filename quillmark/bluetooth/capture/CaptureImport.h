#pragma once
// Takes the devices a btsnoop capture saw into the session's inventory, as if the program had
// heard them itself: a device reported by an inquiry (results of all three formats) is one
// sighting per inquiry at the capture's time, recorded as the live inquiry records one
// (SightingRecorder.h) in the session's current location, with its signal and response data; the
// sightings also go to the sink (the history store) at their capture times. An inquiry ends with
// its Inquiry Complete event and the next begins with its command's status. A successful remote
// name request gives its device a non-empty name (a later one wins); a device heard only through
// its name counts as sighted once. A device already in the inventory keeps the earliest
// first-seen and the latest last-seen time of the two. Every LE advertising report (of the three
// formats; an extended one in fragments once joined) is a sighting at its capture time, decoded as
// the live LE scan decodes it (LeSighting.h).
//
// Every event goes through the scanner's own HCI event parser; events the parser rejects are
// passed over. A record cut short at the end of the file ends the import with what was read.

#include <istream>
#include <string>

#include "quillmark/core/SessionState.h"
#include "quillmark/core/SightingSink.h"

namespace qm::bt {

struct TCaptureImport {
    int newDevices = 0;
    int updatedDevices = 0;  // devices the session held before that the capture saw again
    int sightings = 0;
    bool truncated = false;  // the last record was cut short
};

// Throws TError with the reader's refusal (one line) when the stream is no capture it takes.
// The sink may be null.
TCaptureImport ImportBtsnoop(std::istream& capture, TSessionState& session, ISightingSink* sink = nullptr);

// Imports the file and adds "Imported N devices from FILE" (N the new devices) to the session's
// log; the caller saves the session. Throws TError (one line): "Unable to read " and the file with
// the system's error text, or the file, ": " and the refusal of ImportBtsnoop.
TCaptureImport ImportBtsnoopFile(const std::string& file, TSessionState& session, ISightingSink* sink = nullptr);

}  // namespace qm::bt
