#pragma once
// A source that yields sightings as they arrive rather than once per pass: LE advertising reports
// over a radio, later a daemon's device signals. The Bluetooth layer implements it; the core reads
// it on a thread of its own and records what it yields through the one sighting path.

#include <vector>

#include "quillmark/core/Sighting.h"

namespace qm {

enum class TStreamCode {
    Ok,
    NotPermitted,  // the source needs a privilege the program lacks (systemError EPERM or EACCES)
    Unsupported,   // the radio cannot do it (no LE, no such source)
    Failed,        // systemError holds the error number
};

struct TStreamStatus {
    TStreamCode code = TStreamCode::Ok;
    int systemError = 0;
};

class ISightingStream {
public:
    virtual ~ISightingStream() = default;
    // Starts the source; a failure leaves the stream unusable (the caller logs it once).
    virtual TStreamStatus Start() = 0;
    // Waits at most timeoutMs for sightings and appends every one that arrived meanwhile (possibly
    // none). A failure ends the stream. Each sighting's receivedMs is set by the source.
    virtual TStreamStatus Read(std::vector<TSighting>& sightings, int timeoutMs) = 0;
    // Stops the source (and the radio's scanning); also done by the destructor.
    virtual void Stop() = 0;
};

}  // namespace qm
