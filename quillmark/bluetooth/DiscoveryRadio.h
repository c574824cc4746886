#pragma once
// The radio the discovery thread scans with, as both front ends choose it: the machine's Bluetooth
// through the kernel's sockets, or the emulated radio with its built-in scenario or a JSON scenario
// file.

#include <memory>
#include <string>

#include "quillmark/core/InquiryPass.h"
#include "quillmark/core/SessionState.h"

namespace qm {

struct TRadioChoice {
    bool simulate = false;
    std::string scenarioFile;  // with simulate: empty for the built-in scenario
};

// An inquiry pass over the chosen radio that owns the radio. Throws TError "Unable to read scenario
// file: " with the path, or the scenario reader's error.
std::unique_ptr<IInquiryPass> MakeInquiryPass(const TRadioChoice& choice, TSessionState& session);

}  // namespace qm
