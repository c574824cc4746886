#include "quillmark/bluetooth/DiscoveryRadio.h"

#include <fstream>
#include <sstream>

#include "quillmark/base/Error.h"
#include "quillmark/bluetooth/BluetoothInquiryPass.h"
#include "quillmark/bluetooth/platform/ProtocolPlatform.h"
#include "quillmark/bluetooth/platform/emulated/DefaultScenario.h"
#include "quillmark/bluetooth/platform/emulated/EmulatedRadio.h"
#include "quillmark/bluetooth/platform/emulated/ScenarioJson.h"
#include "quillmark/bluetooth/platform/linux/LinuxSocketFactory.h"

namespace qm {

namespace {

std::unique_ptr<bt::TSocketFactory> OpenRadio(const TRadioChoice& choice) {
    if (!choice.simulate) return std::make_unique<bt::TLinuxSocketFactory>();
    if (choice.scenarioFile.empty()) return std::make_unique<bt::emu::TEmulatedRadio>(bt::emu::DefaultScenario());
    std::ifstream file(choice.scenarioFile, std::ios::binary);
    if (!file) throw TError("Unable to read scenario file: " + choice.scenarioFile);
    std::ostringstream text;
    text << file.rdbuf();
    return std::make_unique<bt::emu::TEmulatedRadio>(bt::emu::ParseScenario(text.str()));
}

// The radio, the protocol platform over it and the pass over the platform, released in reverse.
class TOwningInquiryPass : public IInquiryPass {
public:
    TOwningInquiryPass(std::unique_ptr<bt::TSocketFactory> radio, TSessionState& session)
        : FRadio(std::move(radio)), FPlatform(*FRadio), FPass(FPlatform, session) {}
    bool Perform(IDiscoveryServices& thread) override { return FPass.Perform(thread); }

private:
    std::unique_ptr<bt::TSocketFactory> FRadio;
    bt::TProtocolPlatform FPlatform;
    TBluetoothInquiryPass FPass;
};

}  // namespace

std::unique_ptr<IInquiryPass> MakeInquiryPass(const TRadioChoice& choice, TSessionState& session) {
    return std::make_unique<TOwningInquiryPass>(OpenRadio(choice), session);
}

}  // namespace qm
