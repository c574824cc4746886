#pragma once
// The radio both front ends work with, as they choose it: the machine's Bluetooth
// through the kernel's sockets, or the emulated radio with its built-in scenario or a JSON scenario
// file.

#include <memory>
#include <string>
#include <string_view>

#include "quillmark/bluetooth/platform/RadioTurns.h"
#include "quillmark/bluetooth/platform/SocketFactory.h"
#include "quillmark/core/InquiryPass.h"
#include "quillmark/core/SessionState.h"
#include "quillmark/core/SightingSink.h"
#include "quillmark/core/SightingStream.h"

namespace qm {

struct TRadioChoice {
    bool simulate = false;
    std::string scenarioFile;  // with simulate: empty for the built-in scenario
};

// Takes the front ends' radio option, "--simulate" or "--simulate=FILE", into the choice; false
// (and the choice unchanged) for any other argument.
bool TakeRadioOption(std::string_view argument, TRadioChoice& choice);

// The chosen radio: the kernel's sockets, or an emulated radio. Throws TError "Unable to read
// scenario file: " with the path, or the scenario reader's error.
std::shared_ptr<bt::TSocketFactory> OpenRadio(const TRadioChoice& choice);

// An inquiry pass over a radio, which it keeps while it lives; its sightings also go to the sink
// (which may be null and must outlive the pass). Given the turns the radio's LE stream was made
// with, the inquiry takes turns with the LE scan where the controller cannot run both.
std::unique_ptr<IInquiryPass> MakeInquiryPass(std::shared_ptr<bt::TSocketFactory> radio, TSessionState& session,
                                              ISightingSink* sink = nullptr,
                                              std::shared_ptr<bt::TRadioTurns> turns = nullptr);

// The LE scan of a radio as a sighting stream, keeping the radio and the turns (which may be null
// for a radio without an inquiry pass) while it lives; the session's clock stamps its sightings.
// For one radio, make one turns object and hand it to both:
//   auto turns = std::make_shared<bt::TRadioTurns>();
//   auto pass = MakeInquiryPass(radio, session, sink, turns);
//   auto stream = MakeLeStream(radio, session, turns);
std::unique_ptr<ISightingStream> MakeLeStream(std::shared_ptr<bt::TSocketFactory> radio, TSessionState& session,
                                              std::shared_ptr<bt::TRadioTurns> turns = nullptr);

}  // namespace qm
