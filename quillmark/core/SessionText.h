#pragma once
// The session state in the textual object notation, both ways, in memory.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "quillmark/core/Clock.h"
#include "quillmark/core/DeviceFields.h"
#include "quillmark/core/ObjectWriter.h"
#include "quillmark/core/SessionState.h"

namespace qm {

// The whole file text of the session. The caller holds the device list's lock.
std::string WriteSessionText(const TSessionState& state);
// The same text handed over in pieces, so that it never has to be held whole.
void WriteSessionText(const TSessionState& state, TTextOutput output);
// The same text with the devices (copied by CopyDeviceFields) in place of the device list, appended to the
// text: made without the device list's lock.
void WriteSessionText(const TSessionState& state, const std::vector<TDeviceFields>& devices,
                      std::string& text);

// A new session built from a file text: constructor values first, then the properties in the
// order of the text. New devices take their FirstSeen from the clock. Throws TObjectReadError
// (ObjectReader.h) when the text is rejected.
std::unique_ptr<TSessionState> ReadSessionText(std::string_view text, const IClock& clock);

}  // namespace qm
