#include "quillmark/core/SightingRecorder.h"

#include <utility>

namespace qm {

TSightingRecorder::~TSightingRecorder() {
    try {
        HandOver();
    } catch (...) {
        // The history loses this batch; the device list has it already.
    }
}

TSightingOutcome TSightingRecorder::Record(TDeviceList& list, const TSighting& sighting,
                                           const std::string& location, const IClock& clock) {
    const TSightingOutcome outcome = RecordSighting(list, sighting, location, clock);
    if (FSink) FRecorded.push_back({sighting, location});
    return outcome;
}

void TSightingRecorder::HandOver() {
    if (!FSink || FRecorded.empty()) return;
    FSink->SightingsRecorded(std::exchange(FRecorded, {}));
}

}  // namespace qm
