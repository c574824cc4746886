#pragma once
// The radio name of a radio information record: UTF-16, zero-terminated within its 248 units.

#include <string>
#include <string_view>

#include "quillmark/bluetooth/radios/WindowsRadioApi.h"

namespace qm::bt {

// The name as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string RadioNameText(const BLUETOOTH_RADIO_INFO& info);

// Stores a UTF-8 name (invalid bytes become U+FFFD), cut at a whole character where it does not
// fit, and always zero-terminated.
void SetRadioName(BLUETOOTH_RADIO_INFO& info, std::string_view name);

}  // namespace qm::bt
