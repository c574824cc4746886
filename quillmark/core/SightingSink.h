#pragma once
// Where recorded sightings go once the device list's lock is released: the history store, and
// later other consumers. A source hands over one batch per pass (or per second for a stream).

#include <vector>

#include "quillmark/core/Sighting.h"

namespace qm {

class ISightingSink {
public:
    virtual ~ISightingSink() = default;
    // Takes a batch without blocking on I/O; never called while the device list's lock is held.
    virtual void SightingsRecorded(std::vector<TRecordedSighting> batch) = 0;
};

}  // namespace qm
