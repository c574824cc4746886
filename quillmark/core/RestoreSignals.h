#pragma once
// The signal strengths the session file has no place for, taken back from the history at start-up:
// each record gets the signal of its latest sighting that the history holds.

#include "quillmark/core/DeviceList.h"
#include "quillmark/core/HistoryStore.h"

namespace qm {

// Takes the list's lock while it sets the signals (the reads happen before it). A history that
// cannot be read leaves the records as they are.
void RestoreSignals(TDeviceList& list, IHistoryReader& history);

}  // namespace qm
