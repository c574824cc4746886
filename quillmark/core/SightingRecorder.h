#pragma once
// The one path every source records its sightings through: each sighting is recorded in the
// device list under the list's lock, and kept with the location it was recorded at; once the
// source has released the lock it hands what it recorded to the sink (the history store) as one
// batch. Without a sink, recording is what RecordSighting does.

#include <vector>

#include "quillmark/core/DeviceSighting.h"
#include "quillmark/core/SightingSink.h"

namespace qm {

class TSightingRecorder {
public:
    explicit TSightingRecorder(ISightingSink* sink) : FSink(sink) {}
    // Hands over what is left, so that a pass ended by an error still keeps its sightings.
    ~TSightingRecorder();
    TSightingRecorder(const TSightingRecorder&) = delete;
    TSightingRecorder& operator=(const TSightingRecorder&) = delete;

    // The caller holds the list's lock.
    TSightingOutcome Record(TDeviceList& list, const TSighting& sighting, const std::string& location,
                            const IClock& clock);
    // The caller does not hold the list's lock: gives the sink the sightings recorded since the
    // last hand-over, if any.
    void HandOver();

private:
    ISightingSink* FSink;
    std::vector<TRecordedSighting> FRecorded;
};

}  // namespace qm
