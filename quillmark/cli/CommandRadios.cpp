// quillmark-cli radios: the computer's local Bluetooth radios, one block per radio in the order of
// the radio layer, with what the radio information window shows.

#include <optional>
#include <ostream>

#include "CommandRegistry.h"
#include "TerminalText.h"
#include "quillmark/base/Error.h"
#include "quillmark/bluetooth/DiscoveryRadio.h"
#include "quillmark/bluetooth/radios/RadioInfo.h"
#include "quillmark/bluetooth/radios/RadioLayerPlatform.h"

namespace qm::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage: quillmark-cli radios [--simulate[=FILE]]\n"
    "Lists the computer's Bluetooth radios: the kernel's controllers, powered or not, and the\n"
    "radios of the Windows stacks' libraries when they are on the library search path. --simulate\n"
    "lists the emulated radio's controller (its built-in scenario, or the JSON scenario FILE).\n";

constexpr std::string_view kPrefix = "quillmark-cli radios: ";

std::optional<TRadioChoice> ParseOptions(const std::vector<std::string>& arguments) {
    TRadioChoice choice;
    for (const std::string& argument : arguments)
        if (!TakeRadioOption(argument, choice)) return std::nullopt;
    return choice;
}

const char* YesNo(bool value) {
    return value ? "Yes" : "No";
}

void PrintRadio(const bt::TRadioInfo& radio, std::size_t number, std::ostream& out) {
    out << "Radio " << number << ": " << Printable(radio.FName) << " (" << radio.FManufacturer << ")\n"
        << "  Name:          " << Printable(radio.FName) << '\n'
        << "  Type:          " << radio.FClassName << '\n'
        << "  Address:       " << radio.FAddressText << '\n'
        << "  Manufacturer:  " << radio.FManufacturer << '\n'
        << "  Version:       " << radio.FVersion << '\n'
        << "  Discoverable:  " << YesNo(radio.FDiscoverable) << '\n'
        << "  Connectable:   " << YesNo(radio.FConnectable) << '\n';
}

int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (!arguments.empty() && (arguments[0] == "--help" || arguments[0] == "-h")) {
        out << kUsage;
        return kExitOk;
    }
    const std::optional<TRadioChoice> choice = ParseOptions(arguments);
    if (!choice) {
        err << kUsage;
        return kExitUsage;
    }
    try {
        const auto radio = OpenRadio(*choice);
        const bt::TRadioLayerPlatform platform(*radio, !choice->simulate);
        bt::TRadioReading reading;
        const std::vector<bt::TRadioInfo> radios = reading.ReadAll();
        if (radios.empty()) out << "No Bluetooth radio found.\n";
        for (std::size_t i = 0; i < radios.size(); ++i) PrintRadio(radios[i], i + 1, out << (i ? "\n" : ""));
    } catch (const TError& error) {
        err << kPrefix << error.Message() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

const CommandRegistration kRegistration("radios", "list the computer's Bluetooth radios", kUsage, Run);

}  // namespace

}  // namespace qm::cli
