#include "quillmark/bluetooth/DiscoveryRadio.h"

#include <fstream>
#include <sstream>

#include "quillmark/base/Error.h"
#include "quillmark/bluetooth/BluetoothInquiryPass.h"
#include "quillmark/bluetooth/platform/HciLeScan.h"
#include "quillmark/bluetooth/platform/ProtocolPlatform.h"
#include "quillmark/bluetooth/platform/emulated/DefaultScenario.h"
#include "quillmark/bluetooth/platform/emulated/EmulatedRadio.h"
#include "quillmark/bluetooth/platform/emulated/ScenarioJson.h"
#include "quillmark/bluetooth/platform/linux/LinuxSocketFactory.h"

namespace qm {

bool TakeRadioOption(std::string_view argument, TRadioChoice& choice) {
    constexpr std::string_view kWithFile = "--simulate=";
    if (argument == "--simulate") {
        choice = {true, {}};
    } else if (argument.starts_with(kWithFile) && argument.size() > kWithFile.size()) {
        choice = {true, std::string(argument.substr(kWithFile.size()))};
    } else {
        return false;
    }
    return true;
}

std::shared_ptr<bt::TSocketFactory> OpenRadio(const TRadioChoice& choice) {
    if (!choice.simulate) return std::make_shared<bt::TLinuxSocketFactory>();
    if (choice.scenarioFile.empty()) return std::make_shared<bt::emu::TEmulatedRadio>(bt::emu::DefaultScenario());
    std::ifstream file(choice.scenarioFile, std::ios::binary);
    if (!file) throw TError("Unable to read scenario file: " + choice.scenarioFile);
    std::ostringstream text;
    text << file.rdbuf();
    return std::make_shared<bt::emu::TEmulatedRadio>(bt::emu::ParseScenario(text.str()));
}

namespace {

// The radio, its turns, the protocol platform over it and the pass over the platform, released in
// reverse; the radio and the turns may live on with their other users.
class TOwningInquiryPass : public IInquiryPass {
public:
    TOwningInquiryPass(std::shared_ptr<bt::TSocketFactory> radio, TSessionState& session, ISightingSink* sink,
                       std::shared_ptr<bt::TRadioTurns> turns)
        : FRadio(std::move(radio)),
          FTurns(std::move(turns)),
          FPlatform(*FRadio, {}, session.Clock(), FTurns.get()),
          FPass(FPlatform, session, sink) {}
    bool Perform(IDiscoveryServices& thread) override { return FPass.Perform(thread); }

private:
    std::shared_ptr<bt::TSocketFactory> FRadio;
    std::shared_ptr<bt::TRadioTurns> FTurns;
    bt::TProtocolPlatform FPlatform;
    TBluetoothInquiryPass FPass;
};

// The radio, its turns and the LE scan over them, released in reverse.
class TOwningLeStream : public ISightingStream {
public:
    TOwningLeStream(std::shared_ptr<bt::TSocketFactory> radio, TSessionState& session,
                    std::shared_ptr<bt::TRadioTurns> turns)
        : FRadio(std::move(radio)), FTurns(std::move(turns)), FScan(*FRadio, session.Clock(), FTurns.get()) {}
    TStreamStatus Start() override { return FScan.Start(); }
    TStreamStatus Read(std::vector<TSighting>& sightings, int timeoutMs) override {
        return FScan.Read(sightings, timeoutMs);
    }
    void Stop() override { FScan.Stop(); }

private:
    std::shared_ptr<bt::TSocketFactory> FRadio;
    std::shared_ptr<bt::TRadioTurns> FTurns;
    bt::THciLeScan FScan;
};

}  // namespace

std::unique_ptr<IInquiryPass> MakeInquiryPass(std::shared_ptr<bt::TSocketFactory> radio, TSessionState& session,
                                              ISightingSink* sink, std::shared_ptr<bt::TRadioTurns> turns) {
    return std::make_unique<TOwningInquiryPass>(std::move(radio), session, sink, std::move(turns));
}

std::unique_ptr<ISightingStream> MakeLeStream(std::shared_ptr<bt::TSocketFactory> radio, TSessionState& session,
                                              std::shared_ptr<bt::TRadioTurns> turns) {
    return std::make_unique<TOwningLeStream>(std::move(radio), session, std::move(turns));
}

}  // namespace qm
